#include "TFrForm.h"
#include "LookupSupport.h"
#include "session/TDMConfig.h"
#include "session/UserDialogs.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

TFrForm::TFrForm(QWidget *parent) : QMainWindow(parent)
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    if (auto *cfg = TDMConfig::instance())
        setWindowTitle(cfg->MenuCaption);

    ToolBar = addToolBar(QStringLiteral("ToolBar"));
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    AcNew = addTool(BNew, QStringLiteral("New"), QStringLiteral("New"), QStringLiteral("New Record"), QKeySequence(Qt::Key_F3), QStyle::SP_FileIcon);
    AcDel = addTool(BDel, QStringLiteral("Del"), QStringLiteral("Delete"), QStringLiteral("Delete Record"), QKeySequence(Qt::Key_F8), QStyle::SP_TrashIcon);
    AcSave = addTool(BSave, QStringLiteral("Save"), QStringLiteral("Save"), QStringLiteral("Save Record"), QKeySequence(Qt::Key_F10), QStyle::SP_DialogSaveButton);
    AcChgCode = addTool(BChgCode, QStringLiteral("ChgCode"), QStringLiteral("Chg Code"), QString(), QKeySequence(Qt::Key_F12), QStyle::SP_BrowserReload);
    AcHist = addTool(BHist, QStringLiteral("Hist"), QStringLiteral("Hist."), QStringLiteral("Show History"), QKeySequence(Qt::CTRL | Qt::Key_H), QStyle::SP_FileDialogDetailedView);
    AcCopy = addTool(BCopy, QStringLiteral("Copy"), QStringLiteral("Copy"), QStringLiteral("Copy Record"), QKeySequence(Qt::Key_F6), QStyle::SP_FileDialogNewFolder);
    AcPrint = addTool(BPrint, QStringLiteral("Print"), QStringLiteral("Print"), QStringLiteral("Print Record"), QKeySequence(Qt::CTRL | Qt::Key_P), QStyle::SP_FileDialogContentsView);
    AcExit = addTool(BExit, QStringLiteral("Exit"), QStringLiteral("Exit"), QStringLiteral("Exit Program"), QKeySequence(Qt::CTRL | Qt::Key_X), QStyle::SP_DialogCloseButton);

    connect(AcNew, &QAction::triggered, this, [this] { AcNewExecute(); });
    connect(AcDel, &QAction::triggered, this, [this] { finishEditing(); AcDelExecute(); });
    connect(AcSave, &QAction::triggered, this, [this] { finishEditing(); AcSaveExecute(); });
    connect(AcChgCode, &QAction::triggered, this, [this] { AcChgCodeExecute(); });
    connect(AcHist, &QAction::triggered, this, [this] { AcHistExecute(); });
    connect(AcCopy, &QAction::triggered, this, [this] { AcCopyExecute(); });
    connect(AcPrint, &QAction::triggered, this, [this] { AcPrintExecute(); });
    connect(AcExit, &QAction::triggered, this, [this] { AcExitExecute(); });

    StatusPanel0 = new QLabel(this);
    StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
    StatusPanel0->setFixedWidth(200);
    StatusPanel1 = new QLabel(this);
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    StatusPanel1->setFixedWidth(50);
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1);
    statusBar()->setSizeGripEnabled(false);
    if (auto *cfg = TDMConfig::instance())
        StatusPanel0->setText(cfg->CompanyName);

    ChgCode = new QLineEdit(this);
    ChgCode->setObjectName(QStringLiteral("ChgCode"));
    makeUpperCase(ChgCode);
    ChgCode->setText(QStringLiteral("CHGCODE"));
    ChgCode->hide();

    m_preview = new KeyPreview(this, [this](QWidget *t, int k, Qt::KeyboardModifiers m) { return previewKey(t, k, m); });
}

TFrForm::~TFrForm() = default;

QAction *TFrForm::addTool(QToolButton *&button, const QString &name, const QString &caption, const QString &hint,
                          const QKeySequence &key, QStyle::StandardPixmap icon)
{
    auto *a = new QAction(style()->standardIcon(icon), caption, this);
    a->setObjectName(QStringLiteral("Ac") + name);
    a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    a->setToolTip(hint.isEmpty() ? caption : hint);
    a->setStatusTip(hint);
    ToolBar->addAction(a);
    button = qobject_cast<QToolButton *>(ToolBar->widgetForAction(a));
    button->setObjectName(QStringLiteral("B") + name);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return a;
}

void TFrForm::showToolButton(QToolButton *b, bool on)
{
    // A tool bar shows its buttons through their actions.
    auto *bar = qobject_cast<QToolBar *>(b->parentWidget());
    if (bar) {
        for (QAction *a : bar->actions())
            if (bar->widgetForAction(a) == b) {
                // A hidden action does not answer its short-cut either.
                a->setVisible(on);
                return;
            }
    }
    b->setVisible(on);
}

void TFrForm::setKeyPreview(bool on) { m_preview->setEnabled(on); }
bool TFrForm::keyPreview() const { return m_preview->isEnabled(); }

void TFrForm::showEvent(QShowEvent *e)
{
    QMainWindow::showEvent(e);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    setFixedSize(sizeHint().expandedTo(size()));
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    QGuiApplication::setApplicationDisplayName(windowTitle());
    for (QToolButton *b : {BHist, BCopy, BPrint, BChgCode})
        showToolButton(b, false);
    FormShow();
    AcNew->trigger();
}

void TFrForm::AcNewExecute()
{
    ChgCode->hide();
    AcSave->setEnabled(false);
    AcDel->setEnabled(false);
    AcChgCode->setEnabled(false);
    setKeyPreview(true);
}

void TFrForm::AcExitExecute() { close(); }

bool TFrForm::FormCloseQuery()
{
    QString text;
    if (auto *cfg = TDMConfig::instance())
        text = cfg->ConfirmExitText;
    if (text.isEmpty())
        text = (TDMConfig::instance() && TDMConfig::instance()->IsThai) ? QStringLiteral("ออกจากโปรแกรม ?") : QStringLiteral("Exit Program ?");
    return UserDialogs::instance().askYesNo(text, QColor(0, 128, 0), QColor(Qt::white));
}

void TFrForm::closeEvent(QCloseEvent *e)
{
    if (FormCloseQuery())
        e->accept();
    else
        e->ignore();
}

bool TFrForm::previewKey(QWidget *target, int key, Qt::KeyboardModifiers mods)
{
    // A box that claims a short-cut for itself (Ctrl+X cuts, Ctrl+H erases) lets the
    // key through as a key press: the window's actions come first.
    const QKeySequence pressed(QKeyCombination(mods & ~Qt::KeypadModifier, Qt::Key(key)));
    for (QAction *a : {AcNew, AcDel, AcSave, AcChgCode, AcHist, AcCopy, AcPrint, AcExit})
        if (a->isEnabled() && a->isVisible() && a->shortcut() == pressed) {
            a->trigger();
            return true;
        }
    // Multi-line editors keep Enter and Escape for themselves.
    if (qobject_cast<QPlainTextEdit *>(target) || qobject_cast<QTextEdit *>(target)
        || (target->parentWidget() && (qobject_cast<QPlainTextEdit *>(target->parentWidget()) || qobject_cast<QTextEdit *>(target->parentWidget()))))
        return false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        focusNextChild();
        return true;
    }
    if (key == Qt::Key_Escape) {
        AcExit->trigger();
        return true;
    }
    return false;
}

void TFrForm::finishEditing()
{
    QWidget *w = QApplication::focusWidget();
    if (!w || w->window() != this)
        return;
    // An open cell editor: hand its text to the model and close it.
    for (QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
        if (auto *view = qobject_cast<QAbstractItemView *>(p)) {
            const QModelIndex idx = view->currentIndex();
            if (QAbstractItemDelegate *d = view->itemDelegateForIndex(idx)) {
                emit d->commitData(w);
                emit d->closeEditor(w, QAbstractItemDelegate::NoHint);
            }
            return;
        }
    }
    // A plain editor: leaving it runs its checks; the focus then returns.
    w->clearFocus();
    w->setFocus(Qt::OtherFocusReason);
}
