#pragma once
// The sign-in card as QML sees it: the form model's rules and labels as properties, plus the
// session's busy flag and error line.
#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class SessionViewModel;
class SignInFormModel;

class SignInForm : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(bool signUp READ signUp WRITE setSignUp NOTIFY changed)
    Q_PROPERTY(QString fullName READ fullName WRITE setFullName NOTIFY changed)
    Q_PROPERTY(QString email READ email WRITE setEmail NOTIFY changed)
    Q_PROPERTY(QString password READ password WRITE setPassword NOTIFY changed)
    Q_PROPERTY(bool canSubmit READ canSubmit NOTIFY changed)
    Q_PROPERTY(bool busy READ busy NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
    Q_PROPERTY(bool showsNameField READ signUp NOTIFY changed)
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY changed)
    Q_PROPERTY(QString passwordLabel READ passwordLabel NOTIFY changed)
    Q_PROPERTY(QString submitLabel READ submitLabel NOTIFY changed)
    Q_PROPERTY(QString modeSwitchPrompt READ modeSwitchPrompt NOTIFY changed)
    Q_PROPERTY(QString modeSwitchAction READ modeSwitchAction NOTIFY changed)
    Q_PROPERTY(QString logInLabel READ logInLabel CONSTANT)
    Q_PROPERTY(QString signUpLabel READ signUpLabel CONSTANT)
    Q_PROPERTY(QString googleLabel READ googleLabel CONSTANT)
    Q_PROPERTY(QString nameLabel READ nameLabel CONSTANT)
    Q_PROPERTY(QString emailLabel READ emailLabel CONSTANT)
    Q_PROPERTY(QString footerLine READ footerLine CONSTANT)
public:
    SignInForm(SignInFormModel& form, SessionViewModel& session, QObject* parent = nullptr);

    bool signUp() const;
    void setSignUp(bool on);
    QString fullName() const;
    void setFullName(const QString& v);
    QString email() const;
    void setEmail(const QString& v);
    QString password() const;
    void setPassword(const QString& v);
    bool canSubmit() const;
    bool busy() const;
    QString error() const;
    QString title() const;
    QString subtitle() const;
    QString passwordLabel() const;
    QString submitLabel() const;
    QString modeSwitchPrompt() const;
    // The link beside the prompt names the other mode.
    QString modeSwitchAction() const { return signUp() ? logInLabel() : signUpLabel(); }
    static QString logInLabel();
    static QString signUpLabel();
    static QString googleLabel();
    static QString nameLabel();
    static QString emailLabel();
    static QString footerLine();

    Q_INVOKABLE void submit();
    Q_INVOKABLE void continueWithGoogle();
    Q_INVOKABLE void toggleMode() { setSignUp(!signUp()); }

Q_SIGNALS:
    void changed();

private:
    SignInFormModel& m_form;
    SessionViewModel& m_session;
};

} // namespace halvex
