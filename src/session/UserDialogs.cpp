#include "UserDialogs.h"
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QUrl>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>

namespace {
std::unique_ptr<UserDialogs> &slot()
{
    static std::unique_ptr<UserDialogs> d;
    return d;
}

// The coloured Yes/No panel: Enter is Yes, Escape is No.
class YesNoDialog : public QDialog
{
public:
    YesNoDialog(const QString &text, const QColor &bg, const QColor &fg)
    {
        setWindowTitle(QApplication::applicationDisplayName());
        setModal(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, bg);
        pal.setColor(QPalette::WindowText, fg);
        setPalette(pal);
        setAutoFillBackground(true);
        auto *label = new QLabel(text, this);
        QFont f = label->font();
        f.setPointSize(f.pointSize() + 4);
        f.setBold(true);
        label->setFont(f);
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        auto *yes = new QPushButton(QStringLiteral("&Yes"), this);
        auto *no = new QPushButton(QStringLiteral("&No"), this);
        yes->setDefault(true);
        connect(yes, &QPushButton::clicked, this, &QDialog::accept);
        connect(no, &QPushButton::clicked, this, &QDialog::reject);
        auto *buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(yes);
        buttons->addWidget(no);
        buttons->addStretch();
        auto *lay = new QVBoxLayout(this);
        lay->addWidget(label);
        lay->addLayout(buttons);
        setMinimumWidth(320);
        yes->setFocus();
    }

protected:
    void keyPressEvent(QKeyEvent *e) override
    {
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            accept();
            return;
        }
        QDialog::keyPressEvent(e); // Escape rejects
    }
};

bool parseAnswer(const QString &s) { return !s.trimmed().startsWith(QLatin1Char('n'), Qt::CaseInsensitive); }
} // namespace

UserDialogs &UserDialogs::instance()
{
    auto &d = slot();
    if (!d) {
        if (QProcessEnvironment::systemEnvironment().value(QStringLiteral("QLXHOST_UNATTENDED")) == QLatin1String("1"))
            d = std::make_unique<UnattendedDialogs>();
        else
            d = std::make_unique<WindowDialogs>();
    }
    return *d;
}

std::unique_ptr<UserDialogs> UserDialogs::install(std::unique_ptr<UserDialogs> dialogs)
{
    auto old = std::move(slot());
    slot() = std::move(dialogs);
    return old;
}

QString UserDialogs::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Information: return QStringLiteral("information");
    case Kind::Warning: return QStringLiteral("warning");
    case Kind::Error: return QStringLiteral("error");
    }
    return {};
}

QString UserDialogs::chooseFolder(const QString &title, const QString &startFolder)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, startFolder, QFileDialog::ShowDirsOnly);
}

bool UserDialogs::openWithDesktop(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void WindowDialogs::showMessage(Kind kind, const QString &text)
{
    const QString title = QApplication::applicationDisplayName();
    switch (kind) {
    case Kind::Information: QMessageBox::information(QApplication::activeWindow(), title, text); break;
    case Kind::Warning: QMessageBox::warning(QApplication::activeWindow(), title, text); break;
    case Kind::Error: QMessageBox::critical(QApplication::activeWindow(), title, text); break;
    }
}

bool WindowDialogs::askYesNo(const QString &text, const QColor &background, const QColor &foreground)
{
    YesNoDialog d(text, background, foreground);
    return d.exec() == QDialog::Accepted;
}

UnattendedDialogs::UnattendedDialogs()
{
    const QString a = QProcessEnvironment::systemEnvironment().value(QStringLiteral("QLXHOST_ANSWERS"));
    for (const auto &part : a.split(QLatin1Char(','), Qt::SkipEmptyParts))
        m_answers << parseAnswer(part);
}

void UnattendedDialogs::showMessage(Kind kind, const QString &text)
{
    QString one = text;
    one.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    std::fprintf(stderr, "qlxhost: %s: %s\n", qPrintable(kindName(kind)), one.toUtf8().constData());
    std::fflush(stderr);
}

bool UnattendedDialogs::askYesNo(const QString &text, const QColor &, const QColor &)
{
    const bool answer = m_answers.isEmpty() ? true : m_answers.takeFirst();
    std::fprintf(stderr, "qlxhost: question: %s -> %s\n", text.toUtf8().constData(), answer ? "yes" : "no");
    std::fflush(stderr);
    return answer;
}

void ScriptedDialogs::showMessage(Kind kind, const QString &text)
{
    entries.append({kindName(kind), text, {}});
}

bool ScriptedDialogs::askYesNo(const QString &text, const QColor &background, const QColor &)
{
    entries.append({QStringLiteral("question"), text, background});
    return answers.isEmpty() ? true : answers.takeFirst();
}

QString ScriptedDialogs::chooseFolder(const QString &title, const QString &startFolder)
{
    entries.append({QStringLiteral("folder"), title + QLatin1Char('|') + startFolder, {}});
    return folders.isEmpty() ? QString() : folders.takeFirst();
}

bool ScriptedDialogs::openWithDesktop(const QString &path)
{
    entries.append({QStringLiteral("open"), path, {}});
    return true;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList out;
    for (const auto &e : entries)
        out << e.text;
    return out;
}

bool ScriptedDialogs::contains(const QString &text) const
{
    for (const auto &e : entries)
        if (e.text.contains(text))
            return true;
    return false;
}

QString UnattendedDialogs::chooseFolder(const QString &title, const QString &startFolder)
{
    // No one to choose: the picker counts as cancelled.
    std::fprintf(stderr, "qlxhost: folder: %s (%s) -> cancelled\n", title.toUtf8().constData(), startFolder.toUtf8().constData());
    std::fflush(stderr);
    return {};
}

bool UnattendedDialogs::openWithDesktop(const QString &path)
{
    std::fprintf(stderr, "qlxhost: open: %s\n", path.toUtf8().constData());
    std::fflush(stderr);
    return true;
}
