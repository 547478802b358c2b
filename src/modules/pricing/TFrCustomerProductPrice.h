#pragma once
#include "lookup/TFrForm.h"
#include <QSet>
#include <functional>

class CachedGridModel;
class CodeCellDelegate;
class DecimalCellDelegate;
class QAction;
class QlxCellDelegate;
class QMenu;
class QPushButton;
class QTableView;
class RecordBuffer;
class TFaGetCustomer;
class TFrSearch;

// The special selling conditions of one customer: per product and selling
// unit a price, a quantity, a discount text and, where the company uses
// quotas, a quota quantity. All edits stay in memory until Save (or Delete,
// which removes every row of the customer) writes them in one transaction.
class TFrCustomerProductPrice : public TFrForm
{
    Q_OBJECT
public:
    explicit TFrCustomerProductPrice(QWidget *parent = nullptr);
    ~TFrCustomerProductPrice() override;

    static constexpr const char *Version = "MFG15.02.03";

    // The one-row holder the customer selector is bound to (Id 0: none chosen).
    RecordBuffer *QrNullTable = nullptr;
    TFaGetCustomer *FaCustomer = nullptr;
    QPushButton *BDelLine = nullptr;
    QTableView *DgPrice = nullptr;
    CachedGridModel *QrPrice = nullptr;
    QMenu *PmDiscount = nullptr;
    QAction *MnCopyDiscountAll = nullptr, *MnCopyDiscountOne = nullptr;

    qint64 customerId() const { return m_customer; }
    bool quotaShown() const { return m_quota; }

    // The look-ups the grid and Copy open; the family's dialogs by default.
    std::function<TFrSearch *(QWidget *parent)> ProductLookup;
    std::function<TFrSearch *(QWidget *parent)> UnitLookup;
    std::function<TFrSearch *(QWidget *parent)> CopyLookup;

    // Leaving the customer selector with the customer it resolved (0: none).
    void FaCustomerExit(qint64 id);
    void BDelLineClick();
    void MnCopyDiscountAllClick();
    void MnCopyDiscountOneClick();

protected:
    void FormShow() override;
    void AcNewExecute() override;
    void AcSaveExecute() override;
    void AcDelExecute() override;
    void AcCopyExecute() override;
    void finishEditing() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void upgradeSchema();
    void buildColumns();
    void loadList(qint64 customer);
    int appendLine();
    bool blankLine(int row) const;
    bool productRule(int row, const QString &code);
    bool unitRule(int row, const QString &unitName);
    void reportDuplicate(int row);
    void copyDiscount(bool allBelow);
    QString runLookup(TFrSearch *dialog);
    void focusChanged(QWidget *now);
    void setCurrentColumn(const QString &field);

    CodeCellDelegate *m_productCell = nullptr, *m_unitCell = nullptr;
    DecimalCellDelegate *m_priceCell = nullptr;
    QlxCellDelegate *m_quantityCell = nullptr, *m_quotaCell = nullptr, *m_discountCell = nullptr;
    qint64 m_customer = 0;
    // Ids of the stored rows the list was loaded with: what Delete removes.
    QSet<qint64> m_loadedIds;
    bool m_quota = false;
    bool m_editRefused = false;
    QMetaObject::Connection m_focusWatch;
};
