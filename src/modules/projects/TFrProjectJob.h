#pragma once
#include "lookup/TFrForm.h"
#include <functional>

class CachedGridModel;
class CheckCellDelegate;
class CodeCellDelegate;
class DateCellDelegate;
class QlxCellDelegate;
class QTableView;
class RecordBuffer;
class TFaGetProject;
class TFrSearch;

// The jobs of one project, all edited at once in a grid: codes, descriptions,
// planned and actual dates, related documents, the person responsible and the
// hand-over. An empty project can take the jobs of another; after saving the
// list can go to a spreadsheet file.
class TFrProjectJob : public TFrForm
{
    Q_OBJECT
public:
    explicit TFrProjectJob(QWidget *parent = nullptr);
    ~TFrProjectJob() override;

    static constexpr const char *Version = "MFG13.04.01";
    static constexpr const char *ExportFileName = "QLXExportToExcel.xlsx";

    // The one-row holder the selector is bound to: it carries the chosen project's Id.
    RecordBuffer *QrNullTable = nullptr;
    TFaGetProject *FaProject = nullptr;
    QTableView *DgJob = nullptr;
    CachedGridModel *QrJob = nullptr;

    // The project whose jobs are in the grid; 0 while the list is closed.
    qint64 projectId() const { return m_project; }
    // Where the spreadsheet goes: the user's desktop folder unless set.
    QString ExportFolder;
    // The look-up of the project to copy from; the family's dialog by default.
    std::function<TFrSearch *(QWidget *parent)> CopyLookup;

    // Leaving the project selector with the project it resolved (0: none).
    void FaProjectExit(qint64 id);
    // Writes the stored jobs of a project to the spreadsheet file and opens it.
    void exportJobs(qint64 project);

protected:
    void AcNewExecute() override;
    void AcSaveExecute() override;
    void AcDelExecute() override;
    void AcCopyExecute() override;
    void FormShow() override;
    void finishEditing() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildGrid(QWidget *host);
    void loadJobs(qint64 project);
    int appendJob();
    bool lastRowIsBlank() const;
    void focusChanged(QWidget *now);

    CodeCellDelegate *m_codeCell = nullptr;
    QlxCellDelegate *m_descriptionCell = nullptr, *m_placeCell = nullptr, *m_managerCell = nullptr;
    DateCellDelegate *m_dateCell = nullptr;
    CheckCellDelegate *m_checkCell = nullptr;
    qint64 m_project = 0;
    bool m_editRefused = false;
    QMetaObject::Connection m_focusWatch;
};
