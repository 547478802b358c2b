#pragma once
#include <QMainWindow>

class QAction;
class QLabel;
class QLineEdit;
class QToolBar;
class QToolButton;
class KeyPreview;

// The base of the module windows: the tool bar of actions with their short-cuts,
// the two-panel status bar, key preview (Enter moves on, Escape exits) and the
// exit question. Modules override the Ac...Execute hooks they use.
class TFrForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFrForm(QWidget *parent = nullptr);
    ~TFrForm() override;

    QToolBar *ToolBar = nullptr;
    QAction *AcNew = nullptr, *AcDel = nullptr, *AcSave = nullptr, *AcChgCode = nullptr, *AcHist = nullptr,
            *AcCopy = nullptr, *AcPrint = nullptr, *AcExit = nullptr;
    QToolButton *BNew = nullptr, *BDel = nullptr, *BSave = nullptr, *BChgCode = nullptr, *BHist = nullptr,
                *BCopy = nullptr, *BPrint = nullptr, *BExit = nullptr;
    QLabel *StatusPanel0 = nullptr, *StatusPanel1 = nullptr;
    QLineEdit *ChgCode = nullptr;

    // Memo boxes and editable grids switch it off while they have the focus.
    void setKeyPreview(bool on);
    bool keyPreview() const;

    // Finishes the editor that has the focus, so that what was typed last reaches
    // the record before saving or deleting.
    virtual void finishEditing();

    // Shows a button again that the base hides on show.
    static void showToolButton(QToolButton *b, bool on = true);

protected:
    virtual void AcNewExecute();
    virtual void AcDelExecute() {}
    virtual void AcSaveExecute() {}
    virtual void AcChgCodeExecute() {}
    virtual void AcHistExecute() {}
    virtual void AcCopyExecute() {}
    virtual void AcPrintExecute() {}
    virtual void AcExitExecute();
    // The exit question; true lets the window close.
    virtual bool FormCloseQuery();
    virtual void FormShow() {}

    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    virtual bool previewKey(QWidget *target, int key, Qt::KeyboardModifiers mods);

private:
    QAction *addTool(QToolButton *&button, const QString &name, const QString &caption, const QString &hint,
                     const QKeySequence &key, QStyle::StandardPixmap icon);
    KeyPreview *m_preview = nullptr;
    bool m_shownOnce = false;
};
