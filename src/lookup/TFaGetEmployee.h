#pragma once
#include "TFaGet.h"

// An employee by code; a code must be given.
class TFaGetEmployee : public TFaGetBase
{
    Q_OBJECT
public:
    explicit TFaGetEmployee(QWidget *parent = nullptr);
    qint64 EmployeeId = 0;
    QString EmployeeCode, EmployeeName;

protected:
    TFrSearch *createLookup() override;
    bool checkOnExit(qint64 id) override;
};
