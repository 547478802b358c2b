#include "TDM.h"
#include "db/DbError.h"
#include "session/TDMConfig.h"
#include "session/UserDialogs.h"

namespace {

struct Explanation
{
    const char *lookFor;
    const char *text;
};

// Searched in this order; the first one found inside the message wins.
const Explanation kExplanations[] = {
    {"is not a valid date", "ป้อนวันที่ไม่ถูกต้อง"},
    {"Cannot insert the value NULL into column 'Transportation'", "ไม่ได้ป้อนข้อมูลการขนส่ง"},
    {"Cannot insert the value NULL into column 'Price'", "กำหนดราคาไม่ครบถ้วน"},
    {"Cannot insert the value NULL into column 'Warehouse'", "ไม่ได้ป้อนข้อมูลคลัง"},
    {"Cannot insert the value NULL into column 'Customer'", "ไม่ได้ป้อนข้อมูลลูกค้า"},
    {"Cannot insert the value NULL into column 'Vendor'", "ไม่ได้ป้อนข้อมูลเจ้าหนี้"},
    {"Cannot insert the value NULL into column 'Fraction'", "ไม่ได้ป้อนข้อมูลหน่วย หรือ ข้อมูลหน่วยผิดพลาด"},
    {"Cannot insert the value NULL into column 'Salesman'", "ไม่ได้ป้อนข้อมูลพนักงานขาย"},
    {"Possible network error", "ระบบเครือข่าย หรือ คอมพิวเตอร์แม่ข่ายมีปัญหา ติดต่อเครื่องแม่ข่ายไม่ได้"},
    {"DELETE statement conflicted with COLUMN REFERENCE", "ข้อมูลที่ลบถูกอ้างโดยข้อมูลอื่น ไม่สามารถลบข้อมูลนี้ได้"},
    {"Printer selected is not valid", "ยังไม่ได้กำหนดเครื่องพิมพ์ หรือ เครื่องพิมพ์มีปัญหา"},
    {"Insufficient memory", "Memory หน่วยความจำของเครื่องไม่เพียงพอ"},
    {"SQL Server connection timed out", "เครื่องแม่ข่ายตัดการติดต่อ เพราะเครื่องนี้อาจเรียกข้อมูลปริมาณมากเกินไป"},
    {"Cannot insert duplicate", "ข้อมูลที่เพิ่มซ้ำกับข้อมูลที่มีอยู่แล้ว"},
};

QString describe(const std::exception &e)
{
    if (const auto *db = dynamic_cast<const DbError *>(&e))
        return db->message();
    return QString::fromUtf8(e.what());
}

} // namespace

QString TDM::ErrorExplanation(const QString &message)
{
    const QString upper = message.toUpper();
    for (const auto &e : kExplanations)
        if (upper.contains(QString::fromUtf8(e.lookFor).toUpper()))
            return QString::fromUtf8(e.text);
    return {};
}

QString TDM::ErrorText(const QString &message)
{
    return ErrorExplanation(message) + QLatin1Char('\r') + message.toUpper() + QLatin1Char('\r');
}

void TDM::ApplicationEvents1Exception(const QString &message)
{
    // The operation that failed is abandoned, so is any transaction it left open:
    // otherwise the error log row would join it, and the next save would commit
    // the half-done work (or find a transaction already running).
    TDMConfig *config = TDMConfig::instance();
    for (Connection *c : {&DMDATA(), config ? &config->DmCfg() : nullptr}) {
        if (c && c->inTransaction()) {
            try {
                c->rollback();
            } catch (...) {
            }
        }
    }

    // A log that cannot be written (configuration database gone) must not swallow
    // the report itself: the user still sees the error, with the logging failure.
    QString logFailure;
    try {
        if (config)
            config->LogError(message);
    } catch (const std::exception &e) {
        logFailure = describe(e);
    } catch (...) {
        logFailure = QStringLiteral("Unknown error");
    }
    QString text = ErrorText(message);
    if (!logFailure.isEmpty())
        text += QStringLiteral("บันทึก Error Log ไม่ได้ : ") + logFailure + QLatin1Char('\r');

    // An error raised while the dialog itself is up is reported plainly rather than
    // stacking dialogs.
    static int depth = 0;
    struct Depth { Depth() { ++depth; } ~Depth() { --depth; } } guard;
    try {
        if (showErrorDialog && depth == 1)
            showErrorDialog(text);
        else
            ShowError(text);
    } catch (...) {
    }
}
