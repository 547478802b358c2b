#pragma once
#include "TFrSearch.h"

class QComboBox;
class QDateEdit;

// Lots by code and description, optionally by expiry date; lots that never expire
// always pass the date condition.
class TFrSearchLotNo : public TFrSearch
{
    Q_OBJECT
public:
    explicit TFrSearchLotNo(QWidget *parent = nullptr);

    QLineEdit *EdDescription = nullptr;
    // "<=", "=", ">=" or "-" (no date condition).
    QComboBox *CbCondition = nullptr;
    QDateEdit *EdExpiredDate = nullptr;
    // The chosen lot's id, with its code in ReturnValue.
    qint64 ReturnId = 0;
    // The column the next search orders by (a title click chooses it).
    QString OrderColumn = QStringLiteral("Code");

    void done(int r) override;

protected:
    QHash<QString, QString> englishTexts() const override;
    void FormShow() override;
    void prepareSearch() override;

private:
    void titleClicked(int column);
};
