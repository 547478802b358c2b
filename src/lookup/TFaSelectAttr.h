#pragma once
#include "LookupSupport.h"
#include "TFrSearch.h"
#include <QFrame>
#include <QVector>
#include <functional>

class QTableWidget;
class QTableWidgetItem;

// Looks up the attribute codes of one group (the F5 of an attribute-range frame).
class TFrSearchAttrCode : public TFrSearch
{
    Q_OBJECT
public:
    TFrSearchAttrCode(const QString &codeTable, const QString &groupColumn, bool matchCodeToo, QWidget *parent = nullptr);
    int GroupId = 0;
    QCheckBox *CbWholeWord = nullptr;

protected:
    QHash<QString, QString> englishTexts() const override;
    void FormShow() override;
    void prepareSearch() override;

private:
    bool m_matchCode;
};

class TFrSearchProdAttrCode : public TFrSearchAttrCode
{
    Q_OBJECT
public:
    explicit TFrSearchProdAttrCode(QWidget *parent = nullptr);
};
class TFrSearchCusAttrCode : public TFrSearchAttrCode
{
    Q_OBJECT
public:
    explicit TFrSearchCusAttrCode(QWidget *parent = nullptr);
};
class TFrSearchVenAttrCode : public TFrSearchAttrCode
{
    Q_OBJECT
public:
    explicit TFrSearchVenAttrCode(QWidget *parent = nullptr);
};

// A grid of attribute groups, each with a from and a to code. The owning search
// adds one condition per row that has a code. Rows live in memory only.
class TFaSelectAttrBase : public QFrame
{
    Q_OBJECT
public:
    struct Row
    {
        qint64 Id = 0;
        QString Code, Description;
        qint64 BeginAttrId = 0;
        QString BeginAttrCode;
        qint64 EndAttrId = 0;
        QString EndAttrCode;
        QString BeginGroupCode, EndGroupCode;
    };
    enum Column { ColDescription = 0, ColFrom = 1, ColTo = 2 };

    QTableWidget *DgAttr = nullptr;

    // Reads the groups; every code starts empty.
    void open();
    const QVector<Row> &rows() const { return m_rows; }
    int codeWidth() const { return m_codeWidth; }
    // One "And (...)" per row with a code, the codes bound.
    void addConditions(SqlConditions &conditions) const;
    // The expression of the owning statement's key (for example "C.Id").
    QString KeyExpression = QStringLiteral("Id");
    // The database the groups and codes are read from; the company's when null.
    Connection *DataConnection = nullptr;

    // The attribute-code look-up of one group; returns the chosen code or empty.
    // By default it opens the member's look-up dialog.
    std::function<QString(qint64 groupId)> CodeLookup;
    // Opens the look-up for the current cell and writes the choice into it.
    void lookupCurrentCell();
    void setCell(int row, int column, const QString &code);
    // The character that ends a group's range when its code is blank.
    static QString highCharacter();

protected:
    TFaSelectAttrBase(const QString &groupTable, const QString &codeTable, const QString &codeGroupColumn,
                      const QString &attrTable, const QString &attrKeyColumn, QWidget *parent);
    virtual QString groupStatement() const;
    virtual Params groupParams() const { return {}; }
    virtual TFrSearch *createCodeLookup(qint64 groupId) = 0;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool m_descriptionClickMovesToFrom = false;
    QString m_groupTable, m_codeTable, m_codeGroupColumn, m_attrTable, m_attrKeyColumn;

private:
    friend class AttrCellDelegate;
    void moveNext();
    void cellChanged(QTableWidgetItem *item);
    void focusMoved(QWidget *old, QWidget *now);
    void setOwnerKeyPreview(bool on);
    QVector<Row> m_rows;
    int m_codeWidth = 20;
    bool m_filling = false;
};

// Product attribute groups of one product type.
class TFaSelectProdAttr : public TFaSelectAttrBase
{
    Q_OBJECT
public:
    explicit TFaSelectProdAttr(QWidget *parent = nullptr);
    int GetType = 1;

protected:
    QString groupStatement() const override;
    Params groupParams() const override { return {{QStringLiteral("GetType"), GetType}}; }
    TFrSearch *createCodeLookup(qint64 groupId) override;
};

class TFaSelectCustomerAttr : public TFaSelectAttrBase
{
    Q_OBJECT
public:
    explicit TFaSelectCustomerAttr(QWidget *parent = nullptr);

protected:
    TFrSearch *createCodeLookup(qint64 groupId) override;
};

class TFaSelectVendorAttr : public TFaSelectAttrBase
{
    Q_OBJECT
public:
    explicit TFaSelectVendorAttr(QWidget *parent = nullptr);

protected:
    TFrSearch *createCodeLookup(qint64 groupId) override;
};
