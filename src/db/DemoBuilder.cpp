#include "DemoBuilder.h"
#include "Connection.h"
#include "DbError.h"
#include "ServerProcedures.h"
#include "core/Decimal.h"
#include <QDate>

namespace DemoBuilder {

namespace {

qint64 ins(Connection &c, const QString &table, const std::vector<std::pair<const char *, QVariant>> &values)
{
    QStringList cols, marks;
    Params p;
    int i = 0;
    for (const auto &[col, v] : values) {
        cols << QLatin1String(col);
        const QString key = QStringLiteral("p%1").arg(i++);
        marks << QLatin1Char(':') + key;
        p.insert(key, v);
    }
    return c.insertReturningId(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))), p);
}

// One project with its jobs, for the project sheet and the print dialog.
void fillDemoProject(Connection &c, int year)
{
    auto idOf = [&](const QString &sql, const QString &code) {
        return c.scalar(sql, {{QStringLiteral("c"), code}}).toLongLong();
    };
    const qint64 customer = idOf(QStringLiteral("SELECT Id FROM Customer WHERE Code = :c"), QStringLiteral("C0001"));
    const qint64 dept = idOf(QStringLiteral("SELECT Id FROM Misc WHERE GroupCode = 'DEPARTMENT' AND Code = :c"), QStringLiteral("D04"));
    const qint64 thb = idOf(QStringLiteral("SELECT Id FROM Misc WHERE GroupCode = 'CURRENCY' AND Code = :c"), QStringLiteral("THB"));
    const qint64 project = ins(c, QStringLiteral("Project"),
        {{"Code", "PJDEMO0001"}, {"Description", "ปรับปรุงอาคารสำนักงานใหญ่ ชั้น 5 และงานระบบไฟฟ้า"}, {"RefNo", "สัญญาเลขที่ 45/2569"},
         {"InputDate", QDate(year, 1, 10)}, {"SubType", "GEN"}, {"Customer", customer}, {"Department", dept},
         {"Hire", "คุณประเสริฐ วงศ์ไทย"}, {"Supporter", "คุณวิภา ศรีสุข"}, {"AttnPlace", "ฝ่ายอาคารสถานที่ บริษัท ก่อสร้างไทย จำกัด"},
         {"Phone", "02-555-1234"}, {"Fax", "02-555-1235"}, {"ProjectPlace", "อาคารไทยทาวเวอร์ ถนนสุขุมวิท แขวงคลองเตยเหนือ เขตวัฒนา กรุงเทพมหานคร"},
         {"ProjectDesc", "รื้อถอนฝ้าและผนังเดิม ติดตั้งระบบไฟฟ้าแสงสว่างใหม่ ทาสีภายใน และปูพื้นกระเบื้องทั้งชั้น"},
         {"CompEngineer", "นายสมบัติ ช่างดี"}, {"CompEngineer_Phone", "081-234-5678"}, {"CompManager", "นางสาวอรุณี ใจงาม"},
         {"BeginDate", QDate(year, 2, 1)}, {"EndDate", QDate(year, 6, 30)}, {"JobType", "N"}, {"JobName", "งานปรับปรุงอาคาร"},
         {"Advance", "250000.00"}, {"IncludeVAT", "Y"}, {"CurrencyId", thb}, {"Rate", "1"}, {"Total", "1284500.50"}, {"ProjectPrice", "1284500.50"},
         {"consume", "3.00"}, {"overhead", "5.00"}, {"risk", "2.50"}, {"commission", "1.50"}, {"profit", "12.00"}, {"LockHaveIssue", "Y"},
         {"Blocked", "N"}, {"Closed", "N"}});
    struct Line { const char *product; double qty; const char *price; };
    struct Job { const char *code, *desc, *remark; std::vector<Line> lines; };
    const std::vector<Job> jobs = {
        {"J01", "งานรื้อถอนฝ้าเพดานและผนังเบาเดิม", "ทำงานนอกเวลาทำการ", {{"P0007", 40, "35.00"}, {"P0008", 60, "25.00"}}},
        {"J02", "งานโครงสร้างผนังก่ออิฐและฉาบปูน", "", {{"P0001", 320, "155.00"}, {"P0002", 180, "245.50"}}},
        {"J03", "งานระบบไฟฟ้าแสงสว่างและเต้ารับ", "ตามแบบไฟฟ้า E-01 ถึง E-04", {{"P0004", 450, "89.00"}}},
        {"J04", "งานทาสีภายในทั้งชั้น พร้อมรองพื้นกันชื้น", "", {{"P0003", 96, "1450.00"}}},
        {"J05", "งานปูพื้นกระเบื้อง 60x60 ซม. พื้นที่ส่วนกลางและห้องประชุม", "ลูกค้าเลือกสีกระเบื้องก่อนสั่งซื้อ",
         {{"P0005", 720, "385.00"}, {"P0001", 60, "155.00"}}},
        {"J06", "งานทำความสะอาดและส่งมอบงาน", "", {{"P0008", 40, "25.00"}}},
    };
    for (const auto &j : jobs) {
        const qint64 hd = ins(c, QStringLiteral("ProjectItemHD"), {{"Project", project}, {"Code", j.code}, {"Description", j.desc},
                                                                 {"InputDate", QDate(year, 1, 10)}, {"Remark", j.remark}, {"TaskClose", "N"}});
        int order = 0;
        Decimal amount;
        for (const auto &l : j.lines) {
            auto q = c.exec(QStringLiteral("SELECT P.Id, U.Id, P.ThaiName FROM Product P JOIN ProductUnits U ON U.Product = P.Id "
                                           "WHERE P.Code = :c AND U.SmallUnitFlag = 'Y'"), {{QStringLiteral("c"), QString::fromLatin1(l.product)}});
            if (!q.next())
                continue;
            const Decimal qty = Decimal::fromString(QString::number(l.qty, 'f', 2));
            const Decimal m = qty * Decimal::fromString(QString::fromLatin1(l.price));
            amount += m;
            ins(c, QStringLiteral("ProjectItemDt"), {{"ProjectItemHD", hd}, {"DetailType", "M"}, {"ItemOrderNo", ++order}, {"Product", q.value(0)},
                                                    {"Description", q.value(2)}, {"ProductUnits", q.value(1)}, {"Quantity", qty.toString()},
                                                    {"Price", l.price}, {"Labour", "0"}, {"AmountM", m.toString()}, {"AmountL", "0"},
                                                    {"Total", m.toString()}});
        }
        c.exec(QStringLiteral("UPDATE ProjectItemHD SET Amount = :a WHERE Id = :id"), {{QStringLiteral("a"), amount.toString()}, {QStringLiteral("id"), hd}});
    }
}

// The print forms of the project (print code PJCODE, two forms) and the project
// sheet's preparation procedure.
void fillPrintForms(Connection &c)
{
    upgradeSystemForm(c);
    ins(c, QStringLiteral("SystemForm"), {{"FormOrderNo", 1}, {"FormCode", "PJCODE"}, {"FormDesc", "ใบสรุปโครงการ"},
                                          {"FrfName", "Rp_Project.frf"}, {"SpName", "sp_PrintProject"}, {"DocCode", "PJCODE"},
                                          {"DocParaName", "@No"}, {"FeedPixel", 0}, {"FeedLeft", 0}, {"ShowPrintPreview", "Y"}});
    ins(c, QStringLiteral("SystemForm"), {{"FormOrderNo", 2}, {"FormCode", "PJCODE"}, {"FormDesc", "ใบสรุปโครงการ (ดูบนจอ ไม่พิมพ์)"},
                                          {"FrfName", "Rp_Project.frf"}, {"SpName", "sp_PrintProject"}, {"DocCode", "PJCODE"},
                                          {"DocParaName", "@No"}, {"FeedPixel", 0}, {"FeedLeft", 0}, {"ShowPrintPreview", "N"}});
    if (c.engine() == EngineKind::Postgres) {
        c.exec(QStringLiteral(
            "CREATE OR REPLACE FUNCTION sp_printproject(p_no text, p_docyear integer, p_doccode text) RETURNS text "
            "LANGUAGE plpgsql AS $$\n"
            "BEGIN\n"
            "  DELETE FROM RpProjectSheet WHERE DocNo = p_no;\n"
            "  INSERT INTO RpProjectSheet (DocNo, DocYear, DocCode, JobCount, JobTotal, PreparedAt)\n"
            "  SELECT p.Code, p_docyear, p_doccode, COUNT(DISTINCT h.Id), COALESCE(SUM(d.Quantity * d.Price), 0), now()\n"
            "  FROM Project p LEFT JOIN ProjectItemHD h ON h.Project = p.Id LEFT JOIN ProjectItemDt d ON d.ProjectItemHD = h.Id\n"
            "  WHERE p.Code = p_no GROUP BY p.Code;\n"
            "  RETURN p_no;\n"
            "END $$"));
        return;
    }
    const char *steps[] = {
        "DELETE FROM RpProjectSheet WHERE DocNo = :No",
        "INSERT INTO RpProjectSheet (DocNo, DocYear, DocCode, JobCount, JobTotal, PreparedAt) "
        "SELECT p.Code, :DocYear, :DocCode, COUNT(DISTINCT h.Id), COALESCE(SUM(d.Quantity * d.Price), 0), datetime('now', 'localtime') "
        "FROM Project p LEFT JOIN ProjectItemHD h ON h.Project = p.Id LEFT JOIN ProjectItemDt d ON d.ProjectItemHD = h.Id "
        "WHERE p.Code = :No GROUP BY p.Code",
        "SELECT :No",
    };
    int n = 0;
    for (const char *sql : steps)
        ins(c, QStringLiteral("ServerScript"), {{"ProcName", "sp_PrintProject"}, {"StepNo", ++n}, {"SqlText", sql}});
}

// Code lists of the service matters, a service contract (and a cancelled one it
// replaced), the customer's contact people and three matters.
void fillServiceMatters(Connection &c, int companyNo, int year)
{
    auto misc = [&](const char *group, const char *code, const char *desc, int order) {
        return ins(c, QStringLiteral("Misc"), {{"GroupCode", group}, {"Code", code}, {"Description", desc}, {"OrderNo", order}});
    };
    const qint64 stNew = misc("JOBSTATUS", "N", "รับเรื่องใหม่", 1);
    const qint64 stWork = misc("JOBSTATUS", "P", "กำลังดำเนินการ", 2);
    const qint64 stDone = misc("JOBSTATUS", "F", "ดำเนินการเสร็จแล้ว", 3);
    misc("JOBSTATUS", "W", "รอชิ้นส่วนอะไหล่", 4);
    const qint64 prPrinter = misc("PROBLEM", "P01", "เครื่องพิมพ์ใช้งานไม่ได้", 1);
    misc("PROBLEM", "P02", "โปรแกรมค้างระหว่างบันทึก", 2);
    const qint64 prNetwork = misc("PROBLEM", "P03", "เชื่อมต่อเครือข่ายไม่ได้", 3);
    const qint64 fxPart = misc("FIXPROBLEM", "F01", "เปลี่ยนอะไหล่", 1);
    misc("FIXPROBLEM", "F02", "ตั้งค่าระบบใหม่", 2);
    misc("FIXPROBLEM", "F03", "แนะนำวิธีใช้งาน", 3);
    Q_UNUSED(stDone);
    if (companyNo != 1)
        return;
    auto idOf = [&](const char *table, const char *code) {
        return c.scalar(QStringLiteral("SELECT Id FROM %1 WHERE Code = :c").arg(QLatin1String(table)), {{QStringLiteral("c"), QString::fromLatin1(code)}}).toLongLong();
    };
    const qint64 cus1 = idOf("Customer", "C0001"), cus2 = idOf("Customer", "C0002");
    const qint64 e1 = idOf("Employee", "E001"), e2 = idOf("Employee", "E002");
    const qint64 old = ins(c, QStringLiteral("ContractHd"),
        {{"ContractNo", "CT-0001"}, {"ContractDate", QDate(year - 1, 1, 5)}, {"Customer", cus1}, {"ContractType", "MA"},
         {"PeriodStart", QDate(year - 1, 1, 1)}, {"PeriodStop", QDate(year - 1, 12, 31)}, {"Total", "36000.00"},
         {"InstallSite1", "สำนักงานใหญ่ ถนนสุขุมวิท"}, {"DelFlag", "Y"}, {"CancelRemark", "ลูกค้าขอเปลี่ยนเงื่อนไขสัญญา"},
         {"NotContinue", "N"}});
    const qint64 live = ins(c, QStringLiteral("ContractHd"),
        {{"ContractNo", "CT-0002"}, {"ContractDate", QDate(year, 1, 3)}, {"Customer", cus1}, {"ContractType", "MA"},
         {"PeriodStart", QDate(year, 1, 1)}, {"PeriodStop", QDate(year, 12, 31)}, {"Total", "42000.00"}, {"RefContracthd", old},
         {"InstallSite1", "สำนักงานใหญ่ ถนนสุขุมวิท"}, {"InstallSite2", "คลังสินค้า บางนา"}, {"DelFlag", "N"}, {"NotContinue", "N"}});
    ins(c, QStringLiteral("ContractHd"),
        {{"ContractNo", "CT-0003"}, {"ContractDate", QDate(year - 1, 6, 1)}, {"Customer", cus2}, {"ContractType", "MA"},
         {"PeriodStart", QDate(year - 1, 6, 1)}, {"PeriodStop", QDate(year, 5, 31)}, {"Total", "18500.00"},
         {"InstallSite1", "ร้านค้า ถนนนิมมานเหมินท์ เชียงใหม่"}, {"DelFlag", "N"}, {"NotContinue", "Y"},
         {"NotContinueRemark", "ลูกค้าย้ายไปใช้บริการรายอื่น"}});
    ins(c, QStringLiteral("ContractDt"), {{"ContractHd", old}, {"Description", "บำรุงรักษาเครื่องพิมพ์ 3 เครื่อง"}, {"Quantity", "3"}, {"Price", "12000"}});
    ins(c, QStringLiteral("ContractDt"), {{"ContractHd", live}, {"Description", "บำรุงรักษาเครื่องพิมพ์ 3 เครื่อง"}, {"Quantity", "3"}, {"Price", "14000"}});
    ins(c, QStringLiteral("ContractDt2"), {{"ContractHd", old}, {"Description", "ตรวจเช็คทุกไตรมาส"}, {"ServiceDate", QDate(year - 1, 3, 31)}});
    ins(c, QStringLiteral("ContractPayPeriod"), {{"ContractHd", old}, {"PayDate", QDate(year - 1, 1, 31)}, {"Amount", "36000.00"}});
    ins(c, QStringLiteral("ContractPayPeriod"), {{"ContractHd", live}, {"PayDate", QDate(year, 1, 31)}, {"Amount", "42000.00"}});

    ins(c, QStringLiteral("customercontact"), {{"customer", cus1}, {"name", "คุณวิภา ศรีสุข"}, {"section", "ฝ่ายจัดซื้อ"},
                                                {"phone", "02-555-1234 ต่อ 12"}, {"fax", "02-555-1235"}, {"othermemo", "ติดต่อได้ช่วงเช้า"},
                                                {"activecontact", "Y"}});
    ins(c, QStringLiteral("customercontact"), {{"customer", cus1}, {"name", "คุณประเสริฐ วงศ์ไทย"}, {"section", "ฝ่ายอาคารสถานที่"},
                                                {"phone", "081-234-0000"}, {"activecontact", "Y"}});
    ins(c, QStringLiteral("customercontact"), {{"customer", cus1}, {"name", "คุณสมพงษ์ เกษียณแล้ว"}, {"section", "ฝ่ายไอที"},
                                                {"activecontact", "N"}});
    ins(c, QStringLiteral("customercontact"), {{"customer", cus2}, {"name", "คุณมานพ เชียงใหม่"}, {"section", "เจ้าของร้าน"},
                                                {"phone", "053-222-111"}, {"activecontact", "Y"}});

    struct M { const char *type; int month, day; const char *time; qint64 customer; const char *attn; qint64 contract; const char *title;
               qint64 problem; const char *detail; qint64 status; const char *fix; const char *clear; const char *back; };
    const M matters[] = {
        {"A", 1, 20, "09:15", cus1, "คุณวิภา", live, "เครื่องพิมพ์ชั้น 2 พิมพ์ไม่ออก", prPrinter,
         "เครื่องพิมพ์ใบกำกับภาษีชั้น 2 ขึ้นไฟแดง กระดาษติดบ่อย", stDone, "เปลี่ยนลูกยางดึงกระดาษ ทดสอบพิมพ์ปกติ", "Y", "Y"},
        {"A", 2, 3, "14:40", cus2, "คุณมานพ", 0, "เข้าระบบจากสาขาไม่ได้", prNetwork,
         "สาขาเชียงใหม่เชื่อมต่อฐานข้อมูลสำนักงานใหญ่ไม่ได้ตั้งแต่เช้า", stWork, "", "N", "N"},
        {"B", 2, 10, "10:05", cus1, "คุณประเสริฐ", 0, "ขอให้เพิ่มรายงานสรุปงานซ่อมรายเดือน", 0,
         "อยากได้รายงานสรุปจำนวนเรื่องแยกตามสถานะทุกสิ้นเดือน", stNew, "", "N", "N"},
    };
    for (const M &m : matters) {
        const QString no = ServerProc::NewDocumentNo(c, QStringLiteral("JOBNO-") + QLatin1String(m.type), year);
        ins(c, QStringLiteral("jobtran"),
            {{"DelFlag", "N"}, {"JobType", m.type}, {"JobNo", no}, {"JobDate", QDate(year, m.month, m.day)}, {"JobTime", m.time},
             {"Customer", m.customer}, {"CusAttn", m.attn}, {"RcptEmployee", e1}, {"byemployee", "ฝ่ายบริการ"},
             {"ContractHd", m.contract ? QVariant(m.contract) : QVariant()}, {"RefJob", "N"}, {"JobTitle", m.title},
             {"problem", m.problem ? QVariant(m.problem) : QVariant()}, {"JobDetail", m.detail}, {"PassEmployee", e2},
             {"JobStatus", m.status}, {"FixDetail", m.fix}, {"FixEmployee", *m.fix ? QVariant(e2) : QVariant()},
             {"FixDate", *m.fix ? QVariant(QDate(year, m.month, m.day + 1)) : QVariant()}, {"FixTime", *m.fix ? "10:00" : ""},
             {"Fixtime2", *m.fix ? "11:30" : ""}, {"fixproblem", *m.fix ? QVariant(fxPart) : QVariant()}, {"Clear", m.clear},
             {"ActionBack", m.back}, {"Warning", "Y"}});
    }
    Q_UNUSED(stNew);
}

} // namespace

const std::vector<MenuEntry> &demoMenu()
{
    static const std::vector<MenuEntry> m = {
        {"COMMISSION", "ตารางค่าคอมมิชชั่น"}, {"QUOTA", "โควต้าสินค้า"}, {"QUOTABAG", "โควต้าสินค้า (ถุง)"},
        {"DAILYPRICE", "ราคาสินค้ารายวัน"}, {"TEPWALINDO", "ตรวจสอบราคาสินค้า"}, {"SETFORM", "กำหนดแบบฟอร์มพิมพ์"},
        {"SETREPORT", "ออกแบบรายงาน"}, {"PROJECT", "หน่วยงานโครงการ"}, {"PROJECTGLOBAL", "โครงการทัวร์"},
        {"CLOSEPROJECT", "ปิดโครงการ"}, {"CANCELPROJECT", "ยกเลิกโครงการ"}, {"PROJECTJOB", "งานของโครงการ"},
        {"BOQ", "ประมาณราคา (BOQ)"}, {"CODESTRUC", "โครงสร้างรหัสสินค้า"}, {"CODESTRUC_C", "โครงสร้างรหัสลูกค้า"},
        {"CODESTRUC_V", "โครงสร้างรหัสเจ้าหนี้"}, {"SETBARCODE", "กำหนดบาร์โค้ด"}, {"CHKSTOCKCOMPANY", "สินค้าคงเหลือทุกบริษัท"},
        {"CHKCUSTOMER", "ยอดลูกหนี้ทุกบริษัท"}, {"CHKVENDOR", "ยอดเจ้าหนี้ทุกบริษัท"}, {"CUSPRODPRICE", "ราคาสินค้าตามลูกค้า"},
        {"CUSPRODPRICEALL", "ราคาสินค้าทุกลูกค้า"}, {"CUSPRODPRICEPRJ", "ราคาสินค้าตามโครงการ"},
        {"SETPRXPERCENT", "กำหนดราคาตามเปอร์เซ็นต์"}, {"CASHPLAN", "แผนกระแสเงินสด"}, {"PRETTYCASH", "เงินสดย่อย"},
        {"EMPLOYEE", "พนักงาน"}, {"EMPBALANCE", "ยอดคงเหลือพนักงาน"}, {"BRANCH", "สาขา"},
        {"PROMOTIONFREE", "โปรโมชั่นของแถม"}, {"GRUSALESTARGET", "เป้าการขาย"}, {"BUDGET", "งบประมาณ"},
        {"DEPARTMENT", "แผนก"}, {"ACTIONLIST", "รายการอนุมัติ"}, {"AUTHORIZELIST", "ผู้มีอำนาจอนุมัติ"},
        {"JOBTRAN", "รับงานซ่อม"}, {"JOBFIX", "บันทึกการซ่อม"}, {"PMPRODUCT", "หมวดสินค้า PM"},
        {"PROFITPERCENT", "เปอร์เซ็นต์กำไร"}, {"OPENREPORT", "เปิดรายงาน"}, {"GETUSER", "กำหนดสิทธิ์ผู้ใช้"},
    };
    return m;
}

void createSchema(Connection &conn, DbRole role)
{
    for (const auto &t : schemaCatalogue()) {
        if (t.role != role)
            continue;
        for (const auto &sql : conn.dialect().createTableDdl(t))
            conn.exec(sql);
    }
}

void fillConfig(Connection &c)
{
    Transaction tx(c);
    const int year = QDate::currentDate().year();
    const qint64 c1 = ins(c, QStringLiteral("Company"),
                          {{"Code", "DEMO"}, {"NameThai", "บริษัท ไทยตัวอย่างการค้า จำกัด"}, {"NameEng", "Thai Demo Trading Co., Ltd."},
                           {"ShortName", "ไทยตัวอย่าง"}, {"Address1", "99/9 ถนนพระราม 4"}, {"Address2", "แขวงคลองเตย เขตคลองเตย"},
                           {"Province", "กรุงเทพมหานคร"}, {"Zip", "10110"}, {"Telephone", "02-123-4567"}, {"TaxNo", "0105559999999"},
                           {"RunYear", year}, {"TaxBranchHead", "Y"}, {"TaxBranchCode", "00000"}, {"TaxBranchName", "สำนักงานใหญ่"}});
    const qint64 c2 = ins(c, QStringLiteral("Company"),
                          {{"Code", "DEMO2"}, {"NameThai", "บริษัท ไทยตัวอย่างการผลิต จำกัด"}, {"NameEng", "Thai Demo Production Co., Ltd."},
                           {"ShortName", "ตัวอย่างการผลิต"}, {"Address1", "1 หมู่ 5 นิคมอุตสาหกรรม"}, {"Province", "ชลบุรี"},
                           {"Zip", "20000"}, {"RunYear", year}});
    ins(c, QStringLiteral("DatabaseList"), {{"DatabaseName", "DEMO"}, {"Company", c1}, {"Description", "บริษัทตัวอย่าง"}, {"YearNo", year}});
    ins(c, QStringLiteral("DatabaseList"), {{"DatabaseName", "DEMO2"}, {"Company", c2}, {"Description", "บริษัทตัวอย่าง 2"}, {"YearNo", year}});
    for (qint64 co : {c1, c2})
        ins(c, QStringLiteral("CompanyConfig"), {{"Company", co}, {"PicturePath", "pictures"}, {"Public_Price_IE", "E"}, {"DefaultWh", 1}, {"DefaultTax", "V7"}});

    const qint64 admin = ins(c, QStringLiteral("UserName"), {{"Code", "ADMIN"}, {"fullname", "ผู้ดูแลระบบ"}, {"languageno", 1}, {"SalesId", 1},
                                                            {"CanSeeCost", "Y"}, {"CanSeeSalePrice", "Y"}, {"EditSalePrice", "Y"}});
    const qint64 english = ins(c, QStringLiteral("UserName"), {{"Code", "ENGLISH"}, {"fullname", "English Speaking User"}, {"languageno", 2}});
    const qint64 limited = ins(c, QStringLiteral("UserName"), {{"Code", "CLERK"}, {"fullname", "พนักงานทั่วไป"}, {"languageno", 1}});
    // Entries the clerk may not open.
    const QStringList closed = {QStringLiteral("COMMISSION"), QStringLiteral("GETUSER"), QStringLiteral("AUTHORIZELIST"),
                                QStringLiteral("CHKVENDOR"), QStringLiteral("BUDGET")};
    int order = 0;
    for (const auto &e : demoMenu()) {
        const qint64 m = ins(c, QStringLiteral("Menu"), {{"Caption", e.caption}, {"Command", QStringLiteral("qlxhost %1").arg(QLatin1String(e.keyword))},
                                                        {"MenuOption", e.keyword}, {"OrderNo", ++order}});
        for (qint64 u : {admin, english})
            ins(c, QStringLiteral("UserRight"), {{"UserId", u}, {"MenuId", m}, {"Access_R", "Y"}, {"Add_R", "Y"}, {"Modify_R", "Y"}, {"Delete_R", "Y"}});
        const bool denied = closed.contains(QLatin1String(e.keyword));
        ins(c, QStringLiteral("UserRight"), {{"UserId", limited}, {"MenuId", m}, {"Access_R", denied ? "N" : "Y"}, {"Add_R", "Y"},
                                             {"Modify_R", "Y"}, {"Delete_R", "N"}});
    }
    ins(c, QStringLiteral("softwareconfig"), {{"SoftwareName", "qlxhost"}, {"SoftwareVersion", 3}});
    upgradeConfigSchema(c);
    c.exec(QStringLiteral("UPDATE UserName SET UserSeeImport = 'Y', UserSeeCost = 'Y' WHERE Id = :a"), {{QStringLiteral("a"), admin}});
    c.exec(QStringLiteral("UPDATE UserName SET UserSeeImport = 'N', UserSeeCost = 'N' WHERE Id <> :a"), {{QStringLiteral("a"), admin}});
    // Look-up family: every user active but a former one, who shows red in the user look-up.
    c.exec(QStringLiteral("UPDATE UserName SET active = 'Y'"));
    ins(c, QStringLiteral("UserName"), {{"Code", "ADMOLD"}, {"fullname", "ผู้ดูแลเดิม"}, {"languageno", 1}, {"active", "N"}});
    tx.commit();
}

// Stock, order and invoice lines behind the barcode look-up's figures, customer
// groups and a tax code on the customers. Product 1 (P0001): 1,234.50 on hand this
// year (last year's row must not count) and a back-order of 100 small units:
// 120 ordered, 24 invoiced against the order, 7 invoiced without cutting stock,
// 3 delivered against that invoice; a cleared line and a point-of-sale order do
// not count.
void fillLookupFigures(Connection &c, int year)
{
    ins(c, QStringLiteral("ProductOnHand"), {{"Product", 1}, {"Warehouse", 1}, {"BalanceYear", year}, {"Quantity", "1200"}});
    ins(c, QStringLiteral("ProductOnHand"), {{"Product", 1}, {"Warehouse", 2}, {"BalanceYear", year}, {"Quantity", "34.5"}});
    ins(c, QStringLiteral("ProductOnHand"), {{"Product", 1}, {"Warehouse", 1}, {"BalanceYear", year - 1}, {"Quantity", "999"}});
    ins(c, QStringLiteral("ProductOnHand"), {{"Product", 2}, {"Warehouse", 1}, {"BalanceYear", year}, {"Quantity", "48"}});
    const qint64 so = ins(c, QStringLiteral("SoHd"), {{"SoNo", "SO0001"}, {"Customer", 1}, {"SoDate", QDate(year, 1, 10)}, {"DelFlag", "N"}});
    const qint64 pos = ins(c, QStringLiteral("SoHd"), {{"SoNo", "SO0002"}, {"Customer", 1}, {"SoDate", QDate(year, 1, 11)}, {"DelFlag", "N"}});
    ins(c, QStringLiteral("PosHeader"), {{"SoHd", pos}});
    const qint64 open = ins(c, QStringLiteral("SoDt"), {{"SoHd", so}, {"Product", 1}, {"ProductUnits", 2}, {"Quantity", "10"}, {"Fraction", "12"}, {"Clear", "N"}});
    ins(c, QStringLiteral("SoDt"), {{"SoHd", so}, {"Product", 1}, {"ProductUnits", 1}, {"Quantity", "5"}, {"Fraction", "1"}, {"Clear", "Y"}});
    ins(c, QStringLiteral("SoDt"), {{"SoHd", pos}, {"Product", 1}, {"ProductUnits", 1}, {"Quantity", "100"}, {"Fraction", "1"}, {"Clear", "N"}});
    const qint64 iv1 = ins(c, QStringLiteral("IvHd"), {{"IvNo", "IV0001"}, {"IvType", "A"}, {"NotCutStock", "N"}, {"DelFlag", "N"}});
    ins(c, QStringLiteral("IvDt"), {{"IvHd", iv1}, {"Product", 1}, {"ProductUnits", 2}, {"Quantity", "2"}, {"Fraction", "12"}, {"SoDt", open}, {"IvdtB", 0}});
    const qint64 iv2 = ins(c, QStringLiteral("IvHd"), {{"IvNo", "IV0002"}, {"IvType", "A"}, {"NotCutStock", "Y"}, {"DelFlag", "N"}});
    const qint64 undelivered = ins(c, QStringLiteral("IvDt"), {{"IvHd", iv2}, {"Product", 1}, {"ProductUnits", 1}, {"Quantity", "7"}, {"Fraction", "1"}, {"IvdtB", 0}});
    const qint64 iv3 = ins(c, QStringLiteral("IvHd"), {{"IvNo", "IV0003"}, {"IvType", "B"}, {"NotCutStock", "N"}, {"DelFlag", "N"}});
    ins(c, QStringLiteral("IvDt"), {{"IvHd", iv3}, {"Product", 1}, {"ProductUnits", 1}, {"Quantity", "3"}, {"Fraction", "1"}, {"IvdtB", undelivered}});
    // The customers were given the province's number, which is the id of another
    // Misc row; point them at the province of that code.
    c.exec(QStringLiteral("UPDATE Customer SET Province = (SELECT M.Id FROM Misc M WHERE M.GroupCode = 'PROVINCE' AND M.Code = '0' || Customer.Province)"));
    ins(c, QStringLiteral("CustomerGroup"), {{"Code", "GEN"}, {"Description", "ลูกค้าทั่วไป"}});
    ins(c, QStringLiteral("CustomerGroup"), {{"Code", "VIP"}, {"Description", "ลูกค้าพิเศษ"}});
    c.exec(QStringLiteral("UPDATE Customer SET CustomerGroup = 1, TaxCode = 1, EngName = 'Customer ' || Code, Telephone = '02-555-01' || Substr(Code, 5, 1)"));
    c.exec(QStringLiteral("UPDATE Product SET Picture1 = Code || '.jpg' WHERE Code IN ('P0001', 'P0004')"));
    // Stored as a workstation of the suite writes it: a sub folder and a backslash.
    c.exec(QStringLiteral("UPDATE Product SET Picture1 = 'sub\\P0003.jpg' WHERE Code = 'P0003'"));
}

// Figures of the product look-up's manufacturing and book-shop layouts, for
// product 1 (P0001, units 1 ชิ้น, 2 โหล, 3 กล่อง): to receive 72 small units (5
// boxes ordered, 2 received; a cleared line and its receipt do not count); two open
// work orders of 150 in all, 50 finished; a cleared and a cancelled one that do not
// show; publisher and category attributes (groups 3 and 5) and prices of price
// level 19.
void fillLayoutFigures(Connection &c, int year)
{
    c.exec(QStringLiteral("UPDATE Product SET TechNicName1 = 'OPC-50', TechNicName2 = 'Portland Type I' WHERE Id = 1"));
    ins(c, QStringLiteral("ProductonhandMFG"), {{"Product", 1}, {"Onhand", "1,234.50 ชิ้น"}, {"WorkOrderOH", "100.00 ชิ้น"},
                                                {"PreIsQty", "24.00 ชิ้น"}, {"WKIsQty", "36.00 ชิ้น"}, {"OH_WKIsQty", "1,198.50 ชิ้น"}});
    const qint64 po = ins(c, QStringLiteral("PoHd"), {{"PoNo", "PO0001"}, {"Vendor", 1}, {"PoDate", QDate(year, 1, 5)}, {"DelFlag", "N"}});
    const qint64 openPo = ins(c, QStringLiteral("PoDt"), {{"PoHd", po}, {"Product", 1}, {"ProductUnits", 3}, {"Quantity", "5"}, {"Fraction", "24"}, {"Clear", "N"}});
    const qint64 clearedPo = ins(c, QStringLiteral("PoDt"), {{"PoHd", po}, {"Product", 1}, {"ProductUnits", 1}, {"Quantity", "10"}, {"Fraction", "1"}, {"Clear", "Y"}});
    const qint64 mr = ins(c, QStringLiteral("MrHd"), {{"MrNo", "MR0001"}, {"Vendor", 1}, {"MrDate", QDate(year, 1, 20)}, {"DelFlag", "N"}});
    ins(c, QStringLiteral("MrDt"), {{"MrHd", mr}, {"Product", 1}, {"ProductUnits", 3}, {"Quantity", "2"}, {"Fraction", "24"}, {"PoDt", openPo}});
    ins(c, QStringLiteral("MrDt"), {{"MrHd", mr}, {"Product", 1}, {"ProductUnits", 1}, {"Quantity", "10"}, {"Fraction", "1"}, {"PoDt", clearedPo}});
    const qint64 so = c.scalar(QStringLiteral("SELECT Id FROM SoHd WHERE SoNo = 'SO0001'")).toLongLong();
    const qint64 wo1 = ins(c, QStringLiteral("WorkOrderHd"), {{"WorkOrderNo", "WO0001"}, {"WorkDate", QDate(year, 2, 1)}, {"Customer", 1}, {"SoHd", so},
                                                              {"Product", 1}, {"ProductUnits", 2}, {"Quantity", "10"}, {"Clear", "N"}, {"Delflag", "N"}});
    ins(c, QStringLiteral("MFGFinishDt"), {{"WorkOrderHd", wo1}, {"Product", 1}, {"ProductUnits", 1}, {"Quantity", "30"}, {"Fraction", "1"}});
    ins(c, QStringLiteral("MFGFinishDt"), {{"WorkOrderHd", wo1}, {"Product", 1}, {"ProductUnits", 2}, {"Quantity", "1"}, {"Fraction", "12"}});
    ins(c, QStringLiteral("MFGFinishDt"), {{"WorkOrderHd", wo1}, {"Product", 1}, {"ProductUnits", 1}, {"Quantity", "8"}, {"Fraction", "1"}});
    ins(c, QStringLiteral("WorkOrderHd"), {{"WorkOrderNo", "WO0002"}, {"WorkDate", QDate(year, 2, 15)}, {"Product", 1}, {"ProductUnits", 1},
                                           {"Quantity", "30"}, {"Clear", "N"}, {"Delflag", "N"}});
    ins(c, QStringLiteral("WorkOrderHd"), {{"WorkOrderNo", "WO0003"}, {"WorkDate", QDate(year, 1, 3)}, {"Product", 1}, {"ProductUnits", 1},
                                           {"Quantity", "40"}, {"Clear", "Y"}, {"Delflag", "N"}});
    ins(c, QStringLiteral("WorkOrderHd"), {{"WorkOrderNo", "WO0004"}, {"WorkDate", QDate(year, 1, 4)}, {"Product", 1}, {"ProductUnits", 1},
                                           {"Quantity", "50"}, {"Clear", "N"}, {"Delflag", "Y"}});
    // Book-shop attribute groups, not offered for finished goods' attribute ranges.
    qint64 group[6] = {};
    int n = 2;
    for (const char *g : {"สำนักพิมพ์", "ผู้แต่ง", "หมวดหมู่"})
        group[++n] = ins(c, QStringLiteral("ProdAttrGroup"), {{"Code", QStringLiteral("BOOK%1").arg(n)}, {"Description", g}, {"ProductType", 3}});
    const qint64 publisher = ins(c, QStringLiteral("ProdAttrCode"), {{"ProdAttrGroup", group[3]}, {"Code", "SE-ED"}, {"Description", "ซีเอ็ดยูเคชั่น"}});
    const qint64 category = ins(c, QStringLiteral("ProdAttrCode"), {{"ProdAttrGroup", group[5]}, {"Code", "BUILD"}, {"Description", "งานก่อสร้าง"}});
    ins(c, QStringLiteral("ProductAttr"), {{"Product", 1}, {"ProdAttrGroup", group[3]}, {"ProdAttrCode", publisher}});
    ins(c, QStringLiteral("ProductAttr"), {{"Product", 1}, {"ProdAttrGroup", group[5]}, {"ProdAttrCode", category}});
    ins(c, QStringLiteral("ProductPrice"), {{"Product", 1}, {"ProductUnits", 1}, {"PriceType", 19}, {"Price", "15.50"}});
    ins(c, QStringLiteral("ProductPrice"), {{"Product", 1}, {"ProductUnits", 2}, {"PriceType", 19}, {"Price", "180"}});
    ins(c, QStringLiteral("ProductPrice"), {{"Product", 1}, {"ProductUnits", 2}, {"PriceType", 18}, {"Price", "175"}});
    // Product kinds and groups.
    auto misc = [&](const char *groupCode, const char *code, const char *desc) {
        return ins(c, QStringLiteral("Misc"), {{"GroupCode", groupCode}, {"Code", code}, {"Description", desc}, {"OrderNo", 1}, {"AutoRunDocMonth", "N"}});
    };
    const qint64 building = misc("PTYPE", "K01", "วัสดุก่อสร้าง");
    misc("PTYPE", "K02", "เครื่องมือช่าง");
    const qint64 cement = misc("PGROUP", "G01", "ปูนและคอนกรีต");
    const qint64 steel = misc("PGROUP", "G02", "เหล็กและโลหะ");
    c.exec(QStringLiteral("UPDATE Product SET PType = :k, PGroup = :g WHERE Id = 1"), {{QStringLiteral("k"), building}, {QStringLiteral("g"), cement}});
    c.exec(QStringLiteral("UPDATE Product SET PType = :k, PGroup = :g WHERE Id = 2"), {{QStringLiteral("k"), building}, {QStringLiteral("g"), steel}});
}

// Special prices of two customers: C0001 has four rows (two units of P0001),
// C0002 one; the others have none.
void fillCustomerPrices(Connection &c)
{
    auto unit = [&c](const char *product, const char *unitName) {
        return c.scalar(QStringLiteral("SELECT U.Id FROM ProductUnits U INNER JOIN Product P ON P.Id = U.Product WHERE P.Code = :p AND U.UnitName = :u"),
                        {{QStringLiteral("p"), QString::fromLatin1(product)}, {QStringLiteral("u"), QString::fromUtf8(unitName)}});
    };
    auto id = [&c](const char *table, const char *code) {
        return c.scalar(QStringLiteral("SELECT Id FROM %1 WHERE Code = :c").arg(QLatin1String(table)), {{QStringLiteral("c"), QString::fromLatin1(code)}});
    };
    struct R { const char *customer, *product, *unit, *price; int quantity; const char *discount; };
    for (const R &r : {R{"C0001", "P0001", "ชิ้น", "145.50", 10, "5%"}, R{"C0001", "P0001", "โหล", "1650.00", 1, "5%+2%"},
                       R{"C0001", "P0002", "โหล", "2400.25", 5, "10%"}, R{"C0001", "P0003", "ชิ้น", "89.75", 0, ""},
                       R{"C0002", "P0004", "ชิ้น", "32.25", 100, "3%"}})
        ins(c, QStringLiteral("customerproductprice"), {{"Customer", id("Customer", r.customer)}, {"Product", id("Product", r.product)},
                                                        {"ProductUnits", unit(r.product, r.unit)}, {"Price", r.price}, {"Quantity", r.quantity},
                                                        {"Discount", *r.discount ? QVariant(QString::fromUtf8(r.discount)) : QVariant()}});
}

void fillCompany(Connection &c, int companyNo, const Options &options)
{
    Transaction tx(c);
    const int year = options.year ? options.year : QDate::currentDate().year();
    auto misc = [&](const char *group, const char *code, const char *desc, int order, const char *autoMonth = "N") {
        return ins(c, QStringLiteral("Misc"), {{"GroupCode", group}, {"Code", code}, {"Description", desc}, {"OrderNo", order}, {"AutoRunDocMonth", autoMonth}});
    };
    const qint64 thb = misc("CURRENCY", "THB", "บาท", 1);
    const qint64 usd = misc("CURRENCY", "USD", "ดอลลาร์สหรัฐ", 2);
    const qint64 jpy = misc("CURRENCY", "JPY", "เยน", 3);
    const qint64 eur = misc("CURRENCY", "EUR", "ยูโร", 4);
    const QDate older(year, 1, 2), latest(year, 1, 15);
    auto rate = [&](qint64 cur, QDate d, const char *buy, const char *sell) {
        ins(c, QStringLiteral("CurrencyEx"), {{"Currency", cur}, {"ExchangeDate", d}, {"PurcScrap", buy}, {"PurcPart", buy}, {"PurcRate", buy},
                                              {"SaleScrap", sell}, {"SalePart", sell}, {"SaleRate", sell}});
    };
    rate(thb, older, "1", "1");
    rate(usd, older, "34.25", "34.75");
    rate(jpy, older, "0.2310", "0.2390");
    rate(eur, older, "37.10", "37.90");
    // EUR has no rate on the newest date: the currency list shows it without rates.
    rate(thb, latest, "1", "1");
    rate(usd, latest, "34.50", "35.00");
    rate(jpy, latest, "0.2350", "0.2420");

    int o = 0;
    for (const char *d : {"ฝ่ายขาย", "ฝ่ายผลิต", "ฝ่ายบัญชี", "ฝ่ายโครงการ"}) {
        ++o;
        misc("DEPARTMENT", QStringLiteral("D%1").arg(o, 2, 10, QLatin1Char('0')).toUtf8().constData(), d, o);
    }
    misc("SUBTYPE", "GEN", "โครงการทั่วไป", 1, "N");
    misc("SUBTYPE", "MON", "โครงการรายเดือน", 2, "Y");
    misc("SUBTYPE", "MAN", "โครงการกำหนดเลขเอง", 3, "N");
    o = 0;
    for (const char *p : {"กรุงเทพมหานคร", "เชียงใหม่", "ขอนแก่น", "ภูเก็ต", "ชลบุรี", "นครราชสีมา"}) {
        ++o;
        misc("PROVINCE", QStringLiteral("%1").arg(o, 2, 10, QLatin1Char('0')).toUtf8().constData(), p, o);
    }

    ins(c, QStringLiteral("Config"), {{"RunYear", year}, {"MainCurrencyId", thb}, {"ShowLastSearch", "Y"}, {"SearchProductNo", 1},
                                      {"SearchProductMethod", 1}, {"CheckUserWarehouseFlag", "N"}, {"CheckUserSubtypeFlag", "N"},
                                      {"UseCustomerLinkHead", "N"}, {"PicturePath", "pictures"}, {"UnitLeft", " "}, {"UnitRight", " "},
                                      {"DisplayFraction", "Y"}, {"QuotaQuantity", "N"}, {"AutoGenGL", "N"}, {"AUTORunDocMonth", "N"},
                                      {"OnhandDecimal", 2}});
    ins(c, QStringLiteral("NullTable"), {{"Dummy", "0"}});
    for (int y : {year - 1, year})
        ins(c, QStringLiteral("accountperiod"), {{"accountyear", y}, {"BeginDate", QDate(y, 1, 1)}, {"EndDate", QDate(y, 12, 31)}, {"Closed", y < year ? "Y" : "N"}});

    // Numbering for the running year (and the one before, for dates of last year).
    const QString yy = QString::number(year % 100).rightJustified(2, QLatin1Char('0'));
    for (int y : {year - 1, year}) {
        const QString py = QString::number(y % 100).rightJustified(2, QLatin1Char('0'));
        auto doc = [&](const QString &code, const QString &desc, const QString &prefix, int length, const char *autoRun, const char *type) {
            return ins(c, QStringLiteral("DocumentNo"), {{"Code", code}, {"Description", desc}, {"Prefix", prefix}, {"LastNo", 0},
                                                         {"DocumentLength", length}, {"AutoRun", autoRun}, {"DocType", type}, {"DocYear", y},
                                                         {"UserCanModify", "Y"}});
        };
        doc(QStringLiteral("PJCODE"), QStringLiteral("รหัสโครงการ"), QStringLiteral("PJ") + py, 10, "Y", "P");
        const qint64 gen = doc(QStringLiteral("PJ-GEN"), QStringLiteral("โครงการทั่วไป"), QStringLiteral("PG") + py, 10, "Y", "P");
        for (int m = 1; m <= 12; ++m) {
            const QString mm = QString::number(m).rightJustified(2, QLatin1Char('0'));
            doc(QStringLiteral("PJ%1-MON").arg(mm), QStringLiteral("โครงการรายเดือน เดือน %1").arg(mm), QStringLiteral("PM%1%2").arg(py, mm), 10, "Y", "P");
        }
        for (const char *t : {"A", "B", "C"})
            doc(QStringLiteral("JOBNO-%1").arg(QLatin1String(t)), QStringLiteral("เลขที่งานซ่อม %1").arg(QLatin1String(t)),
                QStringLiteral("J%1%2").arg(QLatin1String(t), py), 10, "Y", "J");
        doc(QStringLiteral("PJ-MAN"), QStringLiteral("โครงการกำหนดเลขเอง"), QString(), 8, "N", "P");
        // An old code that now draws from the general series.
        ins(c, QStringLiteral("DocNoConvert"), {{"Code", "PJ-OLD"}, {"DocYear", y}, {"DocumentNo", gen}});
    }
    Q_UNUSED(yy);

    const qint64 v7 = ins(c, QStringLiteral("Tax"), {{"Code", "V7"}, {"Description", "ภาษีมูลค่าเพิ่ม 7%"}, {"Rate", "7"}});
    Q_UNUSED(v7);
    ins(c, QStringLiteral("Tax"), {{"Code", "V0"}, {"Description", "ยกเว้นภาษี"}, {"Rate", "0"}});
    const qint64 wh1 = ins(c, QStringLiteral("Warehouse"), {{"Code", "WH01"}, {"Name", "คลังสินค้าหลัก"}, {"flagin", "Y"}, {"flagout", "Y"}, {"Blocked", "N"}});
    const qint64 wh2 = ins(c, QStringLiteral("Warehouse"), {{"Code", "WH02"}, {"Name", "คลังหน้างานโครงการ"}, {"flagin", "Y"}, {"flagout", "Y"}, {"Blocked", "N"}});
    ins(c, QStringLiteral("UserWarehouse"), {{"UserName", 1}, {"Warehouse", wh1}});

    const qint64 s1 = ins(c, QStringLiteral("Salesman"), {{"Code", "S001"}, {"Name", "สมชาย ใจดี"}, {"Blocked", "N"}});
    ins(c, QStringLiteral("Salesman"), {{"Code", "S002"}, {"Name", "สมหญิง รักงาน"}, {"Blocked", "N"}});
    ins(c, QStringLiteral("Salesman"), {{"Code", "S003"}, {"Name", "วิชัย ลาออกแล้ว"}, {"Blocked", "Y"}});

    const char *customers[][3] = {
        {"C0001", "บริษัท ก่อสร้างไทย จำกัด", "1"}, {"C0002", "ห้างหุ้นส่วนจำกัด เชียงใหม่วัสดุ", "2"},
        {"C0003", "บริษัท ขอนแก่นพัฒนา จำกัด", "3"}, {"C0004", "คุณสมศักดิ์ มั่นคง", "1"},
        {"C0005", "บริษัท ภูเก็ตรีสอร์ท จำกัด", "4"}, {"C0006", "บริษัท ระงับใช้งาน จำกัด", "1"},
    };
    for (const auto &r : customers)
        ins(c, QStringLiteral("Customer"), {{"Code", r[0]}, {"Name", r[1]}, {"Province", QString::fromLatin1(r[2]).toInt()}, {"Salesman", s1},
                                            {"CreditLimit", "500000"}, {"CreditDays", 30},
                                            {"Blocked", QByteArray(r[0]) == "C0006" ? "Y" : "N"}, {"DelFlag", "N"}});
    const qint64 v1 = ins(c, QStringLiteral("Vendor"), {{"Code", "V0001"}, {"Name", "บริษัท ปูนซีเมนต์สยาม จำกัด"}, {"ImportFlag", "N"}, {"Blocked", "N"}});
    ins(c, QStringLiteral("Vendor"), {{"Code", "V0002"}, {"Name", "บริษัท เหล็กนำเข้า จำกัด"}, {"ImportFlag", "Y"}, {"Blocked", "N"}});
    ins(c, QStringLiteral("Vendor"), {{"Code", "V0003"}, {"Name", "ร้าน ไม้แปรรูป"}, {"ImportFlag", "N"}, {"Blocked", "N"}});

    struct P { const char *code, *name, *tax, *blocked, *master; };
    const P products[] = {
        {"P0001", "ปูนซีเมนต์ปอร์ตแลนด์ 50 กก.", "V7", "N", "N"}, {"P0002", "เหล็กเส้นกลม 12 มม.", "V7", "N", "N"},
        {"P0003", "สีน้ำอะครีลิค สีขาว", "V7", "N", "N"},        {"P0004", "ท่อพีวีซี 4 หุน", "V7", "N", "N"},
        {"P0005", "กระเบื้องปูพื้น 60x60", "V7", "Y", "N"},       {"P0006", "สินค้าหลัก (แม่แบบ)", "V7", "N", "Y"},
        {"P0007", "ตะปู 2 นิ้ว", "", "N", "N"},                   {"P0008", "ถุงมือผ้า", "V0", "N", "N"},
    };
    for (const auto &p : products) {
        const qint64 pid = ins(c, QStringLiteral("Product"),
                               {{"Code", p.code}, {"ThaiName", p.name}, {"EngName", p.code}, {"ProductType", 1}, {"PriceIE", "E"},
                                {"TaxCode", QString::fromUtf8(p.tax)}, {"DefaultWh", wh1}, {"Blocked", p.blocked}, {"MasterCode", p.master},
                                {"Negative", "N"}, {"ProductFree", "N"}});
        // โหล (12), ชิ้น (1), กล่อง (24): sale, stock and small units.
        const qint64 unit = ins(c, QStringLiteral("ProductUnits"), {{"Product", pid}, {"UnitName", "ชิ้น"}, {"Fraction", "1"}, {"BarCode", QStringLiteral("885") + QLatin1String(p.code + 1) + QStringLiteral("001")},
                                                                   {"PurcPrice", "10"}, {"LabourCost", "1"}, {"SalePrice", "15"},
                                                                   {"SaleFlag", "Y"}, {"PurcFlag", "N"}, {"StockUnitFlag", "N"}, {"SmallUnitFlag", "Y"}});
        ins(c, QStringLiteral("ProductUnits"), {{"Product", pid}, {"UnitName", "โหล"}, {"Fraction", "12"}, {"BarCode", QStringLiteral("885") + QLatin1String(p.code + 1) + QStringLiteral("012")},
                                                {"PurcPrice", "115"}, {"LabourCost", "10"}, {"SalePrice", "170"},
                                                {"SaleFlag", "Y"}, {"PurcFlag", "Y"}, {"StockUnitFlag", "Y"}, {"SmallUnitFlag", "N"}});
        ins(c, QStringLiteral("ProductUnits"), {{"Product", pid}, {"UnitName", "กล่อง"}, {"Fraction", "24"}, {"BarCode", QStringLiteral("885") + QLatin1String(p.code + 1) + QStringLiteral("024")},
                                                {"PurcPrice", "225"}, {"LabourCost", "18"}, {"SalePrice", "330"},
                                                {"SaleFlag", "N"}, {"PurcFlag", "Y"}, {"StockUnitFlag", "N"}, {"SmallUnitFlag", "N"}});
        if (QByteArray(p.code) == "P0001")
            ins(c, QStringLiteral("PartSource"), {{"ProductUnits", unit}, {"Vendor", v1}, {"Price", "9.50"}, {"PurchaseCode", "SCG-50"},
                                                  {"PurchaseName", "ปูนตราช้าง 50 กก."}, {"DiscountStr", "5%"}});
    }
    // Kept in the project-site warehouse, which user 1 is not granted.
    const qint64 sand = ins(c, QStringLiteral("Product"),
                            {{"Code", "P0009"}, {"ThaiName", "ทรายหยาบ"}, {"EngName", "P0009"}, {"ProductType", 1}, {"PriceIE", "E"},
                             {"TaxCode", "V7"}, {"DefaultWh", wh2}, {"Blocked", "N"}, {"MasterCode", "N"}, {"Negative", "N"}, {"ProductFree", "N"}});
    ins(c, QStringLiteral("ProductUnits"), {{"Product", sand}, {"UnitName", "คิว"}, {"Fraction", "1"}, {"BarCode", "8850009001"},
                                            {"PurcPrice", "450"}, {"LabourCost", "50"}, {"SalePrice", "600"},
                                            {"SaleFlag", "Y"}, {"PurcFlag", "Y"}, {"StockUnitFlag", "Y"}, {"SmallUnitFlag", "Y"}});
    ins(c, QStringLiteral("ProdAttrCode"), {{"ProdAttrGroup", 1}, {"Code", "RED"}, {"Description", "สีแดง"}});
    ins(c, QStringLiteral("ProdAttrCode"), {{"ProdAttrGroup", 1}, {"Code", "WHITE"}, {"Description", "สีขาว"}});
    ins(c, QStringLiteral("ProdAttrCode"), {{"ProdAttrGroup", 2}, {"Code", "L"}, {"Description", "ขนาดใหญ่"}});
    // Attribute groups: the codes above belong to COLOR (1) and SIZE (2).
    ins(c, QStringLiteral("ProdAttrGroup"), {{"Code", "COLOR"}, {"Description", "สี"}, {"ProductType", 1}});
    ins(c, QStringLiteral("ProdAttrGroup"), {{"Code", "SIZE"}, {"Description", "ขนาด"}, {"ProductType", 1}});
    ins(c, QStringLiteral("ProductAttribute"), {{"Product", 3}, {"GroupCode", "COLORWHITE"}});
    ins(c, QStringLiteral("ProductAttribute"), {{"Product", 5}, {"GroupCode", "SIZEL"}});
    const qint64 area = ins(c, QStringLiteral("CusAttrGroup"), {{"Code", "AREA"}, {"Description", "เขตการขาย"}});
    const qint64 kind = ins(c, QStringLiteral("CusAttrGroup"), {{"Code", "TYPE"}, {"Description", "ประเภทลูกค้า"}});
    ins(c, QStringLiteral("CusAttrCode"), {{"CusAttrGroup", area}, {"Code", "N"}, {"Description", "ภาคเหนือ"}});
    ins(c, QStringLiteral("CusAttrCode"), {{"CusAttrGroup", area}, {"Code", "NE"}, {"Description", "ภาคตะวันออกเฉียงเหนือ"}});
    ins(c, QStringLiteral("CusAttrCode"), {{"CusAttrGroup", area}, {"Code", "S"}, {"Description", "ภาคใต้"}});
    ins(c, QStringLiteral("CusAttrCode"), {{"CusAttrGroup", kind}, {"Code", "RETAIL"}, {"Description", "ขายปลีก"}});
    ins(c, QStringLiteral("CusAttrCode"), {{"CusAttrGroup", kind}, {"Code", "WHOLE"}, {"Description", "ขายส่ง"}});
    ins(c, QStringLiteral("CustomerAttribute"), {{"Customer", 2}, {"GroupCode", "AREAN"}});
    ins(c, QStringLiteral("CustomerAttribute"), {{"Customer", 3}, {"GroupCode", "AREANE"}});
    ins(c, QStringLiteral("CustomerAttribute"), {{"Customer", 5}, {"GroupCode", "AREAS"}});
    ins(c, QStringLiteral("CustomerAttribute"), {{"Customer", 1}, {"GroupCode", "TYPEWHOLE"}});
    const qint64 origin = ins(c, QStringLiteral("VenAttrGroup"), {{"Code", "ORIGIN"}, {"Description", "แหล่งที่มา"}});
    ins(c, QStringLiteral("VenAttrCode"), {{"VenAttrGroup", origin}, {"Code", "LOCAL"}, {"Description", "ในประเทศ"}});
    ins(c, QStringLiteral("VenAttrCode"), {{"VenAttrGroup", origin}, {"Code", "IMPORT"}, {"Description", "ต่างประเทศ"}});
    ins(c, QStringLiteral("VendorAttribute"), {{"Vendor", 2}, {"GroupCode", "ORIGINIMPORT"}});
    Q_UNUSED(wh2);
    if (companyNo == 1)
        fillDemoProject(c, year);
    fillPrintForms(c);

    // ---------------------------------------------------------- look-up family
    {
        auto dept = [&](const char *code) {
            return c.scalar(QStringLiteral("SELECT Id FROM Misc WHERE GroupCode = 'DEPARTMENT' AND Code = :c"), {{QStringLiteral("c"), QString::fromLatin1(code)}});
        };
        int city = 0;
        for (const char *p : {"กรุงเทพมหานคร", "เชียงใหม่", "ขอนแก่น", "ภูเก็ต", "ชลบุรี", "สงขลา"}) {
            ++city;
            misc("CITY", QStringLiteral("C%1").arg(city, 2, 10, QLatin1Char('0')).toUtf8().constData(), p, city);
        }
        struct S { const char *code, *surname, *dept, *status; };
        for (const S &r : {S{"S001", "ใจดี", "D01", "Y"}, S{"S002", "รักงาน", "D01", "Y"}, S{"S003", "ลาออกแล้ว", "D02", "N"}})
            c.exec(QStringLiteral("UPDATE Salesman SET Surname = :s, Department = :d, Status = :st, Phone = '02-555-0100', Province = 1 WHERE Code = :c"),
                   {{QStringLiteral("s"), QString::fromUtf8(r.surname)}, {QStringLiteral("d"), dept(r.dept)},
                    {QStringLiteral("st"), QString::fromLatin1(r.status)}, {QStringLiteral("c"), QString::fromLatin1(r.code)}});
        ins(c, QStringLiteral("Salesman"), {{"Code", "S004"}, {"Name", "อรุณี"}, {"Surname", "ศรีสุข"}, {"Department", dept("D04")},
                                            {"Status", "Y"}, {"Blocked", "N"}, {"StartDate", QDate(year - 2, 3, 1)}});
        c.exec(QStringLiteral("UPDATE Warehouse SET IsLocation = 'N'"));

        struct V { const char *code, *imp; int due; const char *remark, *phone; };
        for (const V &v : {V{"V0001", "N", 30, "ส่งของทุกวันจันทร์", "02-111-2222"}, V{"V0002", "Y", 60, "นำเข้าจากญี่ปุ่น", "02-333-4444"},
                           V{"V0003", "N", 0, "", "053-222-333"}})
            c.exec(QStringLiteral("UPDATE Vendor SET VendorImport = :i, DueDays = :d, Remark = :r, PhoneNo = :p WHERE Code = :c"),
                   {{QStringLiteral("i"), QString::fromLatin1(v.imp)}, {QStringLiteral("d"), v.due}, {QStringLiteral("r"), QString::fromUtf8(v.remark)},
                    {QStringLiteral("p"), QString::fromLatin1(v.phone)}, {QStringLiteral("c"), QString::fromLatin1(v.code)}});
        ins(c, QStringLiteral("Vendor"), {{"Code", "V0004"}, {"Name", "ห้าง วัสดุเลิกค้า"}, {"Blocked", "Y"}, {"VendorImport", "N"}, {"DueDays", 15}});
        const qint64 z = ins(c, QStringLiteral("Vendor"), {{"Code", "Z0001"}, {"Name", "ร้าน ค้าส่งทั่วไป"}, {"Blocked", "N"}, {"VendorImport", "N"}, {"DueDays", 7}});
        ins(c, QStringLiteral("vendorcontact"), {{"Vendor", v1}, {"ContactName", "คุณประเสริฐ"}, {"Phone", "081-111-1111"}});
        ins(c, QStringLiteral("vendorcontact"), {{"Vendor", v1}, {"ContactName", "คุณวิไล"}, {"Phone", "081-222-2222"}});
        ins(c, QStringLiteral("vendorcontact"), {{"Vendor", z}, {"ContactName", "คุณสมพร"}});

        struct E { const char *code, *name, *status; };
        for (const E &e : {E{"E001", "นายสมปอง ขยันดี", "Y"}, E{"E002", "นางสาวมาลี สวยงาม", "Y"}, E{"E003", "นายเกษม พ้นสภาพ", "N"}})
            ins(c, QStringLiteral("Employee"), {{"Code", e.code}, {"Name", e.name}, {"Department", dept("D01")}, {"Status", e.status}});

        struct A { const char *code, *thai, *eng, *type, *group; };
        for (const A &a : {A{"1000", "สินทรัพย์", "ASSETS", "G", "1"}, A{"1101", "เงินสด", "CASH", "D", "1"},
                           A{"1102", "เงินฝากธนาคาร", "CASH AT BANK", "D", "1"}, A{"2000", "หนี้สิน", "LIABILITIES", "G", "2"},
                           A{"2101", "เจ้าหนี้การค้า", "TRADE PAYABLES", "D", "2"}, A{"4101", "รายได้จากการขาย", "SALES", "D", "4"}})
            ins(c, QStringLiteral("AccountChart"), {{"Code", a.code}, {"NameThai", a.thai}, {"NameEng", a.eng}, {"AcType", a.type}, {"AcGroup", a.group}});

        struct L { const char *code, *desc; QDate exp; const char *has; };
        for (const L &l : {L{"L2401", "ล็อตปูน ม.ค.", QDate(year, 1, 31), "Y"}, L{"L2402", "ล็อตปูน ก.พ.", QDate(year, 2, 28), "Y"},
                           L{"L2403", "ล็อตสี มี.ค.", QDate(year, 3, 31), "Y"}, L{"LX001", "ล็อตเหล็ก ไม่มีวันหมดอายุ", QDate(), "N"}})
            ins(c, QStringLiteral("LotNo"), {{"Code", l.code}, {"Description", l.desc}, {"Product", 1}, {"ExpiredDate", l.exp.isValid() ? QVariant(l.exp) : QVariant()}, {"HasExpired", l.has}});

        struct J { const char *code, *desc; int customer; QDate input; const char *blocked, *closed; };
        for (const J &j : {J{"PJ0001", "อาคารสำนักงาน สาทร", 1, QDate(year, 1, 10), "N", "N"},
                           J{"PJ0002", "หมู่บ้านจัดสรร เชียงใหม่", 2, QDate(year, 2, 5), "N", "Y"},
                           J{"PJ0003", "โรงงาน ขอนแก่น", 3, QDate(year, 3, 1), "Y", "N"},
                           J{"PJ0004", "งานซ่อมบำรุงภายใน", 0, QDate(year, 3, 20), "N", "N"}})
            ins(c, QStringLiteral("Project"), {{"Code", j.code}, {"Description", j.desc}, {"Customer", j.customer ? QVariant(j.customer) : QVariant()},
                                               {"InputDate", j.input}, {"SubType", "GEN"}, {"Blocked", j.blocked}, {"Closed", j.closed}});
    }
    // ---------------------------------------------------------- organisation
    {
        auto idOf = [&](const char *group, const char *code) {
            return c.scalar(QStringLiteral("SELECT Id FROM Misc WHERE GroupCode = :g AND Code = :c"),
                            {{QStringLiteral("g"), QString::fromLatin1(group)}, {QStringLiteral("c"), QString::fromLatin1(code)}});
        };
        const qint64 manager = misc("EMPPOSITION", "P01", "ผู้จัดการ", 1);
        misc("EMPPOSITION", "P02", "หัวหน้างาน", 2);
        const qint64 staff = misc("EMPPOSITION", "P03", "พนักงาน", 3);
        misc("COSTNO", "CC100", "ศูนย์ต้นทุนฝ่ายขาย", 1);
        const qint64 cc200 = misc("COSTNO", "CC200", "ศูนย์ต้นทุนฝ่ายผลิต", 2);
        c.exec(QStringLiteral("UPDATE Misc SET ismfg = CASE WHEN Code = 'D02' THEN 'Y' ELSE 'N' END WHERE GroupCode = 'DEPARTMENT'"));
        const QVariant expense = c.scalar(QStringLiteral("SELECT Id FROM AccountChart WHERE Code = '1101'"));
        ins(c, QStringLiteral("departmentcostno"), {{"department", idOf("DEPARTMENT", "D02")}, {"costno", cc200}, {"accountchart", expense}});
        c.exec(QStringLiteral("UPDATE Employee SET Address1 = '12 ถนนสุขุมวิท กรุงเทพฯ', PhoneNo = '081-234-5678', EmpPosition = :p, UserCode = 'ADMIN' WHERE Code = 'E001'"),
               {{QStringLiteral("p"), manager}});
        c.exec(QStringLiteral("UPDATE Employee SET EmpPosition = :p WHERE Code <> 'E001'"), {{QStringLiteral("p"), staff}});
        ins(c, QStringLiteral("Branch"), {{"DelFlag", "N"}, {"BranchCode", "HQ"}, {"BranchName", "สำนักงานใหญ่ กรุงเทพฯ"}, {"BranchDatabase", "DEMO"}});
        ins(c, QStringLiteral("Branch"), {{"DelFlag", "N"}, {"BranchCode", "CNX"}, {"BranchName", "สาขาเชียงใหม่"}, {"BranchDatabase", "DEMOCNX"}});
        ins(c, QStringLiteral("Branch"), {{"DelFlag", "N"}, {"BranchCode", "KKC"}, {"BranchName", "สาขาขอนแก่น"}, {"BranchDatabase", "DEMOKKC"}});
        ins(c, QStringLiteral("Branch"), {{"DelFlag", "Y"}, {"BranchCode", "OLD"}, {"BranchName", "สาขาเดิม ปิดแล้ว"}, {"BranchDatabase", "DEMOOLD"}});
    }
    fillLookupFigures(c, year);
    fillLayoutFigures(c, year);
    fillServiceMatters(c, companyNo, year);
    fillCustomerPrices(c);
    tx.commit();
    if (options.products > 0 || options.customers > 0)
        generate(c, options);
}

void generate(Connection &c, const Options &options)
{
    const Dialect &d = c.dialect();
    Transaction tx(c);
    // Generated with one statement per table: fast on both engines, also for hundreds
    // of thousands of rows. SQL is joined by hand: the padded codes hold '%' signs.
    auto seq = [](int n) {
        return QStringLiteral("WITH RECURSIVE seq(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM seq WHERE n < ") + QString::number(n)
            + QStringLiteral(") ");
    };
    const QString n = QStringLiteral("n");
    if (options.products > 0) {
        const qint64 wh = c.scalar(QStringLiteral("SELECT MIN(Id) FROM Warehouse")).toLongLong();
        c.exec(QStringLiteral("INSERT INTO Product (Code, ThaiName, EngName, ProductType, PriceIE, TaxCode, DefaultWh, Blocked, MasterCode, Negative, ProductFree) ")
               + seq(options.products) + QStringLiteral("SELECT 'G' || ") + d.zeroPad(n, 7) + QStringLiteral(", 'สินค้าทดสอบ ' || ")
               + d.castText(n) + QStringLiteral(" || ' ขนาดมาตรฐาน', 'Generated product ' || ") + d.castText(n)
               + QStringLiteral(", 1, 'E', 'V7', ") + QString::number(wh)
               + QStringLiteral(", CASE WHEN n % 97 = 0 THEN 'Y' ELSE 'N' END, 'N', 'N', 'N' FROM seq"));
        struct U { const char *name; int fraction; const char *bar; int purc, sale; const char *flags[4]; };
        const U units[] = {{"ชิ้น", 1, "01", 10, 15, {"Y", "N", "N", "Y"}},
                           {"โหล", 12, "12", 115, 170, {"Y", "Y", "Y", "N"}},
                           {"กล่อง", 24, "24", 225, 330, {"N", "Y", "N", "N"}}};
        for (const auto &u : units) {
            auto lit = [](const char *t) { return QStringLiteral("'") + QString::fromUtf8(t) + QStringLiteral("'"); };
            c.exec(QStringLiteral("INSERT INTO ProductUnits (Product, UnitName, Fraction, BarCode, PurcPrice, LabourCost, SalePrice, "
                                  "SaleFlag, PurcFlag, StockUnitFlag, SmallUnitFlag) SELECT Id, ")
                   + lit(u.name) + QStringLiteral(", ") + QString::number(u.fraction) + QStringLiteral(", '2' || ") + d.zeroPad(QStringLiteral("Id"), 9)
                   + QStringLiteral(" || ") + lit(u.bar) + QStringLiteral(", ") + QString::number(u.purc) + QStringLiteral(", 1, ")
                   + QString::number(u.sale) + QStringLiteral(", ") + lit(u.flags[0]) + QStringLiteral(", ") + lit(u.flags[1])
                   + QStringLiteral(", ") + lit(u.flags[2]) + QStringLiteral(", ") + lit(u.flags[3])
                   + QStringLiteral(" FROM Product WHERE Code LIKE 'G%'"));
        }
    }
    if (options.customers > 0) {
        c.exec(QStringLiteral("INSERT INTO Customer (Code, Name, Province, Salesman, CreditLimit, CreditDays, Blocked, DelFlag) ")
               + seq(options.customers) + QStringLiteral("SELECT 'K' || ") + d.zeroPad(n, 7) + QStringLiteral(", 'ลูกค้าทดสอบ ' || ")
               + d.castText(n) + QStringLiteral(" || ' จำกัด', 1 + n % 6, 1, 100000, 30, CASE WHEN n % 101 = 0 THEN 'Y' ELSE 'N' END, 'N' FROM seq"));
    }
    tx.commit();
    // After a bulk load the planner needs the tables' statistics at once, not when
    // the server's own analysis gets round to them.
    if (c.engine() == EngineKind::Postgres)
        c.exec(QStringLiteral("ANALYZE Product, ProductUnits, Customer"));
}

bool demoExists()
{
    return !Engine::resolveDatabase(configDb).isEmpty() && !Engine::resolveDatabase(demoCompany).isEmpty()
        && !Engine::resolveDatabase(secondCompany).isEmpty();
}

void createDemo(const Options &options, bool replace)
{
    for (const QString &name : {configDb, demoCompany, secondCompany}) {
        if (!Engine::resolveDatabase(name).isEmpty()) {
            if (!replace)
                throw DbError(QStringLiteral("Database %1 already exists.").arg(name));
            Engine::dropDatabase(name);
        }
        Engine::createDatabase(name);
    }
    {
        Connection cfg(QStringLiteral("demo_cfg"));
        cfg.setDatabaseName(configDb);
        createSchema(cfg, DbRole::Config);
        fillConfig(cfg);
    }
    int no = 0;
    for (const QString &name : {demoCompany, secondCompany}) {
        Connection co(QStringLiteral("demo_company"));
        co.setDatabaseName(name);
        createSchema(co, DbRole::Company);
        // Generated rows go to the first company only; no is counted up before the call,
        // since reading and changing it in one argument list is unsequenced.
        ++no;
        fillCompany(co, no, no == 1 ? options : Options{0, 0, options.year});
    }
}

} // namespace DemoBuilder
