#include "EditSupport.h"
#include "CellEditors.h"
#include "EditWidgets.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

LeaveHook::LeaveHook(QWidget *control, std::function<void()> handler) : QObject(control), m_handler(std::move(handler))
{
    control->installEventFilter(this);
}

LeaveHook *LeaveHook::install(QWidget *control, std::function<void()> handler)
{
    return new LeaveHook(control, std::move(handler));
}

void LeaveHook::fire()
{
    if (m_running || !m_handler)
        return;
    m_running = true;
    struct Reset { bool &b; ~Reset() { b = false; } } reset{m_running};
    m_handler();
}

bool LeaveHook::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && isRealLeave(static_cast<QFocusEvent *>(event)))
        fire();
    return QObject::eventFilter(watched, event);
}

bool finishFocusedEditor(QWidget *window)
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus || (window && focus != window && !window->isAncestorOf(focus)))
        return true;
    // A grid's cell editor: hand it to the grid as Tab or Enter would.
    for (QWidget *w = focus; w; w = w->parentWidget()) {
        auto *view = qobject_cast<QAbstractItemView *>(w);
        if (!view || view == focus)
            continue;
        QWidget *editor = focus;
        while (editor->parentWidget() && editor->parentWidget() != view->viewport())
            editor = editor->parentWidget();
        if (editor->parentWidget() != view->viewport())
            break;
        auto *delegate = qobject_cast<QlxCellDelegate *>(view->itemDelegateForIndex(view->currentIndex()));
        if (delegate)
            delegate->clearRefused();
        QMetaObject::invokeMethod(view, "commitData", Qt::DirectConnection, Q_ARG(QWidget *, editor));
        QMetaObject::invokeMethod(view, "closeEditor", Qt::DirectConnection, Q_ARG(QWidget *, editor),
                                  Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
        return !(delegate && delegate->refused());
    }
    bool accepted = true;
    const int m = focus->metaObject()->indexOfMethod("commitEdit()");
    if (m >= 0)
        focus->metaObject()->method(m).invoke(focus, Qt::DirectConnection, Q_RETURN_ARG(bool, accepted));
    return accepted;
}

ProgressDialog::ProgressDialog(const QString &caption, int total, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    auto *layout = new QVBoxLayout(this);
    m_label = new QLabel(caption, this);
    m_bar = new QProgressBar(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    setMinimumWidth(360);
    setTotal(total);
}

void ProgressDialog::setTotal(int total)
{
    m_total = qMax(0, total);
    m_position = 0;
    m_bar->setRange(0, qMax(1, m_total));
    m_bar->setValue(0);
}

void ProgressDialog::step(const QString &text)
{
    ++m_position;
    m_bar->setValue(qMin(m_position, m_bar->maximum()));
    if (!text.isNull())
        m_label->setText(text);
    // Painting every step would cost more than the work of a short step.
    if (!m_sincePaint.isValid() || m_sincePaint.elapsed() >= 40 || m_position >= m_total)
        paintNow();
}

void ProgressDialog::paintNow()
{
    m_sincePaint.restart();
    if (!isVisible())
        return;
    repaint();
    ++m_repaints;
}
