#pragma once
#include <QColor>
#include <QList>
#include <QString>
#include <memory>

// Every message and question of the program passes through here, so that tests can
// read and answer them and scripted runs can work without a screen.
class UserDialogs
{
public:
    enum class Kind { Information, Warning, Error };
    virtual ~UserDialogs() = default;

    virtual void showMessage(Kind kind, const QString &text) = 0;
    // A Yes/No question on a coloured panel (the blue confirmation, the green exit
    // question). Enter answers Yes, Escape answers No.
    virtual bool askYesNo(const QString &text, const QColor &background, const QColor &foreground) = 0;
    // The desktop's folder picker (file-system folders only); empty when cancelled.
    virtual QString chooseFolder(const QString &title, const QString &startFolder);
    // Hands a folder or file to the desktop shell; false when it refused.
    virtual bool openWithDesktop(const QString &path);

    static UserDialogs &instance();
    // Replaces the implementation; returns the previous one.
    static std::unique_ptr<UserDialogs> install(std::unique_ptr<UserDialogs> dialogs);
    static QString kindName(Kind kind);
};

inline void ShowMessage(const QString &text) { UserDialogs::instance().showMessage(UserDialogs::Kind::Information, text); }
inline void ShowError(const QString &text) { UserDialogs::instance().showMessage(UserDialogs::Kind::Error, text); }

// Qt dialogs on screen.
class WindowDialogs : public UserDialogs
{
public:
    void showMessage(Kind kind, const QString &text) override;
    bool askYesNo(const QString &text, const QColor &background, const QColor &foreground) override;
};

// For scripted runs (QLXHOST_UNATTENDED=1): each text goes to standard error as
// "qlxhost: <kind>: <text>", answers come from QLXHOST_ANSWERS (yes/no, comma
// separated; yes once they run out).
class UnattendedDialogs : public UserDialogs
{
public:
    UnattendedDialogs();
    void showMessage(Kind kind, const QString &text) override;
    bool askYesNo(const QString &text, const QColor &background, const QColor &foreground) override;
    QString chooseFolder(const QString &title, const QString &startFolder) override;
    bool openWithDesktop(const QString &path) override;

private:
    QList<bool> m_answers;
};

// For tests: records every text and answers from a queue (yes when it runs out).
class ScriptedDialogs : public UserDialogs
{
public:
    struct Entry
    {
        QString kind; // "information", "warning", "error", "question", "folder", "open"
        QString text; // for "folder": title + "|" + start folder; for "open": the path
        QColor background;
    };
    void showMessage(Kind kind, const QString &text) override;
    bool askYesNo(const QString &text, const QColor &background, const QColor &foreground) override;
    QString chooseFolder(const QString &title, const QString &startFolder) override;
    bool openWithDesktop(const QString &path) override;

    QList<Entry> entries;
    QList<bool> answers;
    QStringList folders; // answers of the folder picker (cancel once they run out)
    QStringList texts() const;
    bool contains(const QString &text) const;
};
