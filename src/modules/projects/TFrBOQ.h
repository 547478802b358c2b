#pragma once
#include "core/Decimal.h"
#include <QPersistentModelIndex>
#include <QWidget>
#include <functional>

class CachedGridModel;
class CodeCellDelegate;
class DateCellDelegate;
class DecimalCellDelegate;
class KeyPreview;
class QlxCellDelegate;
class QMenu;
class QAction;
class QPushButton;
class QTableView;
class QToolButton;
class RecordBuffer;
class TFaGetProject;
class TFrSearch;

// The bill of quantities: the lines of one job of a project at a time, each a
// product with its vendor, quantity, unit, material and labour price. Saving
// writes the job's lines and its amount (the sum of the line totals) together.
class TFrBOQ : public QWidget
{
    Q_OBJECT
public:
    explicit TFrBOQ(QWidget *parent = nullptr);
    ~TFrBOQ() override;

    static constexpr const char *Version = "MFG11.05.30";

    // Columns of the line grid, in screen order.
    enum LineColumn { ColOrderNo, ColPCode, ColDescription, ColVCode, ColStartUse, ColStopUse, ColQuantity, ColUnitName, ColPrice, ColLabour, ColTotal };

    TFaGetProject *FaProject = nullptr;
    // The chosen project's Id (0 when none).
    RecordBuffer *QrHolder = nullptr;
    CachedGridModel *QrJob = nullptr;
    CachedGridModel *QrLine = nullptr;
    QTableView *DgJob = nullptr;
    QTableView *DgLine = nullptr;
    QPushButton *BSave = nullptr, *BClear = nullptr, *BClose = nullptr, *BDelLine = nullptr;
    QToolButton *BtDelLine = nullptr; // the grid's small "x"
    QMenu *PmUnit = nullptr;
    QAction *MnUnitsAs = nullptr;

    // The look-ups opened by F5 in the grid; the family's dialogs by default.
    std::function<TFrSearch *(QWidget *parent)> ProductLookup, VendorLookup, UnitLookup;

    qint64 projectId() const;
    // The current job's row in the job list and its Id (-1 / 0 when none).
    int currentJob() const;
    qint64 currentJobId() const;
    int currentLine() const;

    void BSaveClick();
    void BClearClick();
    void BCloseClick();
    void BDelLineClick();
    void MnUnitsAsClick();
    // Appends a new line to the current job and puts the cursor on its code.
    void appendLine();

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void upgradeTable();
    void setupLineColumns();
    void closeJobs();
    void closeLines();
    void projectChosen(qint64 id);
    void openLines();
    void lineRowChanged(const QModelIndex &now, const QModelIndex &before);
    void lineArrived(const QPersistentModelIndex &now, const QPersistentModelIndex &before);
    void rememberLine(int row);
    bool productRule(int row, const QString &code);
    bool vendorRule(int row, const QString &code);
    bool unitRule(int row, const QString &unitName);
    void priceLine(int row);
    void costLine(int row);
    void renumber();
    bool previewKey(QWidget *target, int key, Qt::KeyboardModifiers mods);
    QString runLookup(TFrSearch *dialog);
    bool blankCode(int row) const;

    KeyPreview *m_preview = nullptr;
    CodeCellDelegate *m_productCell = nullptr, *m_vendorCell = nullptr, *m_unitCell = nullptr;
    QlxCellDelegate *m_textCell = nullptr, *m_fixedCell = nullptr;
    DateCellDelegate *m_dateCell = nullptr;
    DecimalCellDelegate *m_quantityCell = nullptr, *m_priceCell = nullptr, *m_labourCell = nullptr;
    bool m_shownOnce = false;
    bool m_loading = false;
    bool m_costing = false;
    // The last accepted product, vendor and unit of the line under the cursor.
    struct Remembered
    {
        QVariant product, pcode, vendor, vcode, unit, unitName;
    } m_last;
};
