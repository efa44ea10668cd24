#include "session/viewmodel/SignInFormModel.h"
#include "core/format/Characters.h"

#include "session/viewmodel/SessionViewModel.h"

namespace halvex {

SignInFormModel::SignInFormModel(SessionViewModel& session, QObject* parent) : QObject(parent), m_session(session)
{
    connect(&m_session, &SessionViewModel::busyChanged, this, &SignInFormModel::changed);
    // Whatever the session did (signed in, signed out, lost), a typed password has served its
    // purpose: left in the form, anyone at the machine could sign back in with one click.
    connect(&m_session, &SessionViewModel::stateChanged, this, [this] { setPassword(QString()); });
}

void SignInFormModel::setMode(Mode mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    Q_EMIT changed();
}

void SignInFormModel::setFullName(const QString& name)
{
    if (name == m_fullName)
        return;
    m_fullName = name;
    Q_EMIT changed();
}

void SignInFormModel::setEmail(const QString& email)
{
    if (email == m_email)
        return;
    m_email = email;
    Q_EMIT changed();
}

void SignInFormModel::setPassword(const QString& password)
{
    if (password == m_password)
        return;
    m_password = password;
    Q_EMIT changed();
}

QString SignInFormModel::passwordFieldLabel() const
{
    return m_mode == Mode::signUp ? QStringLiteral("Password (8+ characters)") : QStringLiteral("Password");
}

QString SignInFormModel::submitLabel() const
{
    return m_mode == Mode::signUp ? QStringLiteral("Create account") : QStringLiteral("Sign in");
}

QString SignInFormModel::title() const
{
    return m_mode == Mode::signUp ? QStringLiteral("Create your account") : QStringLiteral("Welcome back");
}

QString SignInFormModel::subtitle() const
{
    return m_mode == Mode::signUp ? QStringLiteral("One account runs all your employees. Hire and watch them work.")
                                  : QStringLiteral("Sign in to your Tessal workspace.");
}

QString SignInFormModel::modeSwitchPrompt() const
{
    return m_mode == Mode::signUp ? QStringLiteral("Already have an account?") : QStringLiteral("New to Tessal?");
}

bool SignInFormModel::fieldsAreValid() const
{
    // Blanks only: line breaks are trimmed later, when the email is sent.
    const auto isBlank = [](QChar c) { return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space; };
    qsizetype start = 0;
    qsizetype end = m_email.size();
    while (start < end && isBlank(m_email.at(start)))
        ++start;
    while (end > start && isBlank(m_email.at(end - 1)))
        --end;
    return end > start && characterCount(m_password) >= minimumPasswordLength();
}

bool SignInFormModel::canSubmit() const { return fieldsAreValid() && !m_session.isBusy(); }

QCoro::Task<void> SignInFormModel::submit()
{
    if (!canSubmit())
        co_return;
    if (m_mode == Mode::signUp)
        co_await m_session.signup(m_email, m_password, m_fullName);
    else
        co_await m_session.login(m_email, m_password);
}

QCoro::Task<void> SignInFormModel::continueWithGoogle()
{
    if (m_session.isBusy())
        co_return;
    co_await m_session.loginWithGoogle();
}

} // namespace halvex
