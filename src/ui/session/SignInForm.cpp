#include "ui/session/SignInForm.h"

#include "session/viewmodel/SessionViewModel.h"
#include "session/viewmodel/SignInFormModel.h"

namespace halvex {

SignInForm::SignInForm(SignInFormModel& form, SessionViewModel& session, QObject* parent)
    : QObject(parent),
      m_form(form),
      m_session(session)
{
    connect(&m_form, &SignInFormModel::changed, this, &SignInForm::changed);
    connect(&m_session, &SessionViewModel::busyChanged, this, &SignInForm::changed);
    connect(&m_session, &SessionViewModel::authErrorChanged, this, &SignInForm::changed);
}

bool SignInForm::signUp() const { return m_form.mode() == SignInFormModel::Mode::signUp; }
void SignInForm::setSignUp(bool on)
{
    m_form.setMode(on ? SignInFormModel::Mode::signUp : SignInFormModel::Mode::logIn);
}
QString SignInForm::fullName() const { return m_form.fullName(); }
void SignInForm::setFullName(const QString& v) { m_form.setFullName(v); }
QString SignInForm::email() const { return m_form.email(); }
void SignInForm::setEmail(const QString& v) { m_form.setEmail(v); }
QString SignInForm::password() const { return m_form.password(); }
void SignInForm::setPassword(const QString& v) { m_form.setPassword(v); }
bool SignInForm::canSubmit() const { return m_form.canSubmit(); }
bool SignInForm::busy() const { return m_session.isBusy(); }
QString SignInForm::error() const { return m_session.authErrorText(); }
QString SignInForm::title() const { return m_form.title(); }
QString SignInForm::subtitle() const { return m_form.subtitle(); }
QString SignInForm::passwordLabel() const { return m_form.passwordFieldLabel(); }
QString SignInForm::submitLabel() const { return m_form.submitLabel(); }
QString SignInForm::modeSwitchPrompt() const { return m_form.modeSwitchPrompt(); }
QString SignInForm::logInLabel() { return SignInFormModel::logInSegmentLabel(); }
QString SignInForm::signUpLabel() { return SignInFormModel::signUpSegmentLabel(); }
QString SignInForm::googleLabel() { return SignInFormModel::googleButtonLabel(); }
QString SignInForm::nameLabel() { return SignInFormModel::nameFieldLabel(); }
QString SignInForm::emailLabel() { return SignInFormModel::emailFieldLabel(); }
QString SignInForm::footerLine() { return SignInFormModel::footerLine(); }

void SignInForm::submit() { m_form.submit(); }
void SignInForm::continueWithGoogle() { m_form.continueWithGoogle(); }

} // namespace halvex
