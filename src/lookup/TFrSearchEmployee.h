#pragma once
#include "TFrSearch.h"

// Active employees by name.
class TFrSearchEmployee : public TFrSearch
{
    Q_OBJECT
public:
    explicit TFrSearchEmployee(QWidget *parent = nullptr);

protected:
    QHash<QString, QString> englishTexts() const override;
    void FormShow() override;
    void prepareSearch() override;
};
