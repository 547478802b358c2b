#pragma once
#include <QFrame>

class QLabel;
class QToolButton;
class TCodeLookupEdit;
class TFrSearch;

// A selector frame: caption, code box, search button, the code's name and an
// optional "*" for a required field. F5 in the code box or the button opens the
// frame's look-up; its choice is written into the box, which then has the focus.
class TFaGetBase : public QFrame
{
    Q_OBJECT
public:
    explicit TFaGetBase(QWidget *parent = nullptr);

    QLabel *LbCaption = nullptr;
    TCodeLookupEdit *EdCode = nullptr;
    QToolButton *BtSearch = nullptr;
    QLabel *LbName = nullptr;
    QLabel *LbRequired = nullptr;

    void setCaption(const QString &caption);
    QString caption() const;
    void setRequired(bool on);
    QString code() const;
    qint64 id() const;

    // Opens the look-up; true when a code was chosen and written into the box.
    virtual bool openLookup();
    // Replaces the look-up dialog (tests, modules that open their own).
    using LookupFactory = std::function<TFrSearch *(QWidget *parent)>;
    void setLookupFactory(LookupFactory f) { m_factory = std::move(f); }

signals:
    void codeChanged(qint64 id);

protected:
    // The frame's own look-up dialog, inputs set.
    virtual TFrSearch *createLookup() = 0;
    // A member that keeps its look-up between showings owns it; the base then
    // does not free it.
    virtual bool keepsLookup() const { return false; }
    // The per-member check on leaving the code box, after the edit's own; false
    // clears the code (the member shows its message).
    virtual bool checkOnExit(qint64 id) { Q_UNUSED(id); return true; }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void leftCodeBox(qint64 id);
    LookupFactory m_factory;
};

// Departments (Misc group DEPARTMENT), empty allowed.
class TFaGetDepartment : public TFaGetBase
{
    Q_OBJECT
public:
    explicit TFaGetDepartment(QWidget *parent = nullptr);

protected:
    TFrSearch *createLookup() override;
};

// Codes of one Misc group chosen by the module; the caption is the module's.
class TFaGetMisc : public TFaGetBase
{
    Q_OBJECT
public:
    explicit TFaGetMisc(QWidget *parent = nullptr);
    void setGroupCode(const QString &group);
    QString groupCode() const { return m_group; }

protected:
    TFrSearch *createLookup() override;

private:
    QString m_group;
};
