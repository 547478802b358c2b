#pragma once
#include <QFrame>
#include <QPointer>
#include <functional>

class QLabel;
class QLineEdit;
class QToolButton;
class RecordBuffer;

// The document number of a module's current document. Leaving the frame tells
// the user when the document is cancelled, posted or imported; a cancelled or
// imported document that is not posted gives its number box back, empty.
class TFaGetDocNo : public QFrame
{
    Q_OBJECT
public:
    explicit TFaGetDocNo(QWidget *parent = nullptr);

    QLabel *LbCaption = nullptr;
    QLineEdit *EdDocNo = nullptr;
    QToolButton *BtSearch = nullptr;

    // The module's current document; columns it lacks are not checked.
    QPointer<RecordBuffer> Document;
    // The module's own handling of a number (loading the document), run before the check.
    std::function<void()> DocNoExit;

    QString docNo() const;
    // The check that leaving the frame runs; also callable by the module.
    void checkDocument();

signals:
    void searchClicked();

private:
    void focusMoved(QWidget *old, QWidget *now);
};
