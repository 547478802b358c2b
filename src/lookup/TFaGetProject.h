#pragma once
#include "TFaGet.h"

// A project that is not blocked; empty allowed.
class TFaGetProject : public TFaGetBase
{
    Q_OBJECT
public:
    explicit TFaGetProject(QWidget *parent = nullptr);
    // The project last accepted: id, code, description (empty when none).
    qint64 ProjectId = 0;
    QString ProjectCode, ProjectName;

protected:
    TFrSearch *createLookup() override;
    bool checkOnExit(qint64 id) override;
};
