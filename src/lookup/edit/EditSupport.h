#pragma once
#include <QDialog>
#include <QElapsedTimer>
#include <QObject>
#include <functional>

class QLabel;
class QProgressBar;
class QWidget;

// Runs a handler when the user leaves a control for another control of the
// same window (Tab, Enter moved on, a click elsewhere). It runs once per
// leave: a message box or a look-up opened by the handler, or focus moves the
// handler makes, do not run it again while it is still running; and losing
// the focus to another window is no leave.
class LeaveHook : public QObject
{
    Q_OBJECT
public:
    static LeaveHook *install(QWidget *control, std::function<void()> handler);
    bool isRunning() const { return m_running; }
    // Runs the handler now, under the same guard (a window may need the check
    // before saving although the focus never left).
    void fire();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    LeaveHook(QWidget *control, std::function<void()> handler);
    std::function<void()> m_handler;
    bool m_running = false;
};

// Commits whatever editor of the window has the focus: a grid cell still
// being edited, a date or number box still holding typed text. F10 and F8
// call it first so that a value still being typed is saved. Returns false
// when that editor refused its text (the user has been told).
bool finishFocusedEditor(QWidget *window);

// A small modal-looking progress window for long loops: step() moves the bar
// and repaints at once without running the event loop, so no click or key
// reaches the program half-way through the loop.
class ProgressDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ProgressDialog(const QString &caption, int total, QWidget *parent = nullptr);
    void setTotal(int total);
    void step(const QString &text = QString());
    int position() const { return m_position; }
    int total() const { return m_total; }
    int repaints() const { return m_repaints; }

private:
    void paintNow();

    QLabel *m_label;
    QProgressBar *m_bar;
    int m_position = 0;
    int m_total = 0;
    int m_repaints = 0;
    QElapsedTimer m_sincePaint;
};
