#pragma once
// The sign-in card's rules, for the interface to bind to: its two modes, every label, and when
// the submit button may be pressed.
#include <QObject>
#include <QString>

#include <qcorotask.h>

namespace halvex {

class SessionViewModel;

class SignInFormModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(Mode mode READ mode WRITE setMode NOTIFY changed)
    Q_PROPERTY(QString fullName READ fullName WRITE setFullName NOTIFY changed)
    Q_PROPERTY(QString email READ email WRITE setEmail NOTIFY changed)
    Q_PROPERTY(QString password READ password WRITE setPassword NOTIFY changed)
    Q_PROPERTY(bool canSubmit READ canSubmit NOTIFY changed)
public:
    enum class Mode { logIn, signUp };
    Q_ENUM(Mode)

    explicit SignInFormModel(SessionViewModel& session, QObject* parent = nullptr);

    Mode mode() const { return m_mode; }
    void setMode(Mode mode);
    void toggleMode() { setMode(m_mode == Mode::logIn ? Mode::signUp : Mode::logIn); }
    QString fullName() const { return m_fullName; }
    void setFullName(const QString& name);
    QString email() const { return m_email; }
    void setEmail(const QString& email);
    QString password() const { return m_password; }
    void setPassword(const QString& password);

    static QString logInSegmentLabel() { return QStringLiteral("Log in"); }
    static QString signUpSegmentLabel() { return QStringLiteral("Sign up"); }
    static QString googleButtonLabel() { return QStringLiteral("Continue with Google"); }
    static QString nameFieldLabel() { return QStringLiteral("Your name"); }
    static QString emailFieldLabel() { return QStringLiteral("Work email"); }
    static QString footerLine()
    {
        return QStringLiteral("Free to sign up \u00B7 no card required \u00B7 tokens power the work");
    }
    bool showsNameField() const { return m_mode == Mode::signUp; }
    QString passwordFieldLabel() const;
    QString submitLabel() const;
    QString title() const;
    QString subtitle() const;
    QString modeSwitchPrompt() const;
    int minimumPasswordLength() const { return m_mode == Mode::signUp ? 8 : 1; }

    // The field rule alone, whatever the session is doing.
    bool fieldsAreValid() const;
    // What the submit button shows: valid fields and no sign-in running.
    bool canSubmit() const;

    // Does nothing unless `canSubmit()`.
    QCoro::Task<void> submit();
    QCoro::Task<void> continueWithGoogle();

Q_SIGNALS:
    void changed();

private:
    SessionViewModel& m_session;
    Mode m_mode = Mode::logIn;
    QString m_fullName;
    QString m_email;
    QString m_password;
};

} // namespace halvex
