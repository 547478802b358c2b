#include "Schema.h"

namespace {
// Short builders keep the catalogue readable as a table.
ColumnDef id() { return {QStringLiteral("Id"), ColType::IdNo}; }
ColumnDef in(const char *n) { return {QLatin1String(n), ColType::Integer}; }
ColumnDef flag(const char *n) { return {QLatin1String(n), ColType::CharFlag, 1}; }
ColumnDef ch(const char *n, int size) { return {QLatin1String(n), ColType::Char, size}; }
ColumnDef vc(const char *n, int size) { return {QLatin1String(n), ColType::VarChar, size}; }
ColumnDef memo(const char *n) { return {QLatin1String(n), ColType::Memo}; }
ColumnDef dec(const char *n, int p = 20, int s = 6) { return {QLatin1String(n), ColType::Decimal, p, s}; }
ColumnDef date(const char *n) { return {QLatin1String(n), ColType::Date}; }
ColumnDef dtm(const char *n) { return {QLatin1String(n), ColType::DateTime}; }
ColumnDef blob(const char *n) { return {QLatin1String(n), ColType::Blob}; }
ColumnDef req(ColumnDef c) { c.notNull = true; return c; }
IndexDef ix(const char *name, QStringList cols, bool unique = false) { return {QLatin1String(name), std::move(cols), unique}; }

std::vector<TableDef> build()
{
    using R = DbRole;
    std::vector<TableDef> t;

    // ---------------------------------------------------------- configuration database
    t.push_back({QStringLiteral("Company"), R::Config,
                 {id(), vc("Code", 10), vc("Password", 20), vc("NameThai", 200), vc("NameEng", 200), vc("ShortName", 50),
                  vc("Address1", 200), vc("Address2", 200), vc("Address3", 200), vc("Address4", 200), vc("Province", 100),
                  vc("Zip", 10), vc("Telephone", 100), vc("Fax", 100), vc("EMail", 100), blob("Logo"), vc("TaxNo", 20),
                  date("InstallDate"), in("RunYear"), vc("LocalServer", 100), vc("FUNDNAME", 100), flag("TaxBranchHead"),
                  vc("TaxBranchCode", 10), vc("TaxBranchName", 100)},
                 {ix("Company_Code", {QStringLiteral("Code")})}});
    t.push_back({QStringLiteral("DatabaseList"), R::Config,
                 {id(), vc("DatabaseName", 50), in("Company"), vc("Description", 200), in("YearNo")},
                 {ix("DatabaseList_Name", {QStringLiteral("DatabaseName")})}});
    t.push_back({QStringLiteral("CompanyConfig"), R::Config,
                 {id(), in("Company"), vc("PicturePath", 250), flag("Public_Price_IE"), in("DefaultWh"), in("POS1_Wh"),
                  vc("POS1_TaxCode", 10), flag("POS1_Price_IE"), in("POS1_PriceType"), flag("POS1_SumDetail"),
                  vc("DefaultPosComPort", 10), vc("DefaultTax", 10), in("DefaultPosMenuId")}});
    // Version is added by the schema upgrade on connect, as on older databases.
    t.push_back({QStringLiteral("Menu"), R::Config,
                 {id(), in("ParentId"), vc("Caption", 200), vc("Command", 250), vc("MenuOption", 100), in("OrderNo")}});
    // UserSeeImport and UserSeeCost are added by the schema upgrade on connect.
    t.push_back({QStringLiteral("UserName"), R::Config,
                 {id(), vc("Code", 20), vc("fullname", 200), vc("Password", 50), in("languageno"), in("SalesId"),
                  flag("EditSalePrice"), flag("Approve_Quo"), flag("Approve_SO"), flag("Approve_IV"), flag("Approve_PO"),
                  flag("Approved_PORQ"), flag("ApproveTranWH"), flag("ApproveTranBranch"), flag("ApproveWorkOrder"),
                  flag("CanSeeCost"), flag("CanSeeSalePrice"), flag("CanModifyCusSale"), flag("Approve_PreIs"),
                  flag("ApproveCustomerDropUse"), flag("ApproveCustomerDropCredit"), flag("CanModifyCredit"),
                  flag("CanSetProductBlock"), flag("CanSetProductMinus"), flag("CanSaleCreditOnReturnCheque")},
                 {ix("UserName_Code", {QStringLiteral("Code")})}});
    // What each user may do in each menu entry; read by MENUCAPTION.
    t.push_back({QStringLiteral("UserRight"), R::Config,
                 {id(), req(in("UserId")), req(in("MenuId")), flag("Access_R"), flag("Add_R"), flag("Modify_R"), flag("Delete_R")},
                 {ix("UserRight_User_Menu", {QStringLiteral("UserId"), QStringLiteral("MenuId")}, true)}});
    t.push_back({QStringLiteral("softwareconfig"), R::Config,
                 {id(), vc("SoftwareName", 100), in("SoftwareVersion"), vc("Remark", 200)}});
    t.push_back({QStringLiteral("ErrorLog"), R::Config,
                 {id(), dtm("LogDate"), vc("CompName", 50), vc("LogName", 100), in("UserId"), in("MenuId"), memo("ErrorMsg")}});

    // ---------------------------------------------------------- company database
    t.push_back({QStringLiteral("Config"), R::Company,
                 {id(), in("RunYear"), in("MainCurrencyId"), flag("ShowLastSearch"), in("SearchProductNo"),
                  in("SearchProductMethod"), flag("CheckUserWarehouseFlag"), flag("CheckUserSubtypeFlag"),
                  flag("UseCustomerLinkHead"), vc("MainServerIP", 50), vc("MainDbName", 50), vc("PicturePath", 250),
                  vc("UnitLeft", 10), vc("UnitRight", 10), flag("DisplayFraction"), flag("QuotaQuantity"), flag("AutoGenGL"),
                  flag("AUTORunDocMonth"), in("OnhandDecimal")}});
    t.push_back({QStringLiteral("NullTable"), R::Company, {id(), vc("Dummy", 10)}});
    t.push_back({QStringLiteral("Misc"), R::Company,
                 {id(), req(vc("GroupCode", 20)), req(vc("Code", 20)), vc("Description", 200), vc("EngDescription", 200),
                  in("OrderNo"), flag("AutoRunDocMonth"), vc("Remark", 200), flag("DelFlag")},
                 {ix("Misc_Group_Code", {QStringLiteral("GroupCode"), QStringLiteral("Code")}, true)}});
    t.push_back({QStringLiteral("CurrencyEx"), R::Company,
                 {id(), req(in("Currency")), req(date("ExchangeDate")), dec("PurcScrap"), dec("PurcPart"), dec("PurcRate"),
                  dec("SaleScrap"), dec("SalePart"), dec("SaleRate")},
                 {ix("CurrencyEx_Date", {QStringLiteral("ExchangeDate")})}});
    t.push_back({QStringLiteral("accountperiod"), R::Company,
                 {id(), in("accountyear"), date("BeginDate"), date("EndDate"), flag("Closed")}});
    t.push_back({QStringLiteral("DocumentNo"), R::Company,
                 {id(), req(vc("Code", 30)), vc("Description", 200), vc("Prefix", 20), req(in("LastNo")), in("DocumentLength"),
                  flag("AutoRun"), ch("DocType", 1), req(in("DocYear")), flag("UserCanModify")},
                 {ix("DocumentNo_Code_Year", {QStringLiteral("Code"), QStringLiteral("DocYear")})}});
    t.push_back({QStringLiteral("DocNoConvert"), R::Company,
                 {id(), req(vc("Code", 30)), req(in("DocYear")), req(in("DocumentNo"))},
                 {ix("DocNoConvert_Code_Year", {QStringLiteral("Code"), QStringLiteral("DocYear")})}});
    t.push_back({QStringLiteral("UserLog"), R::Company,
                 {id(), dtm("LogDate"), in("UserId"), in("MenuId"), in("FunctionListId"), in("DocumentId"), vc("Remark", 250)}});
    t.push_back({QStringLiteral("Tax"), R::Company, {id(), req(vc("Code", 10)), vc("Description", 100), dec("Rate", 8, 2)}});
    t.push_back({QStringLiteral("Warehouse"), R::Company,
                 {id(), req(vc("Code", 10)), vc("Name", 100), flag("flagin"), flag("flagout"), flag("Blocked")},
                 {ix("Warehouse_Code", {QStringLiteral("Code")}, true)}});
    t.push_back({QStringLiteral("UserWarehouse"), R::Company, {id(), req(in("UserName")), req(in("Warehouse"))}});
    t.push_back({QStringLiteral("Salesman"), R::Company,
                 {id(), req(vc("Code", 20)), vc("Name", 200), vc("Telephone", 50), flag("Blocked")},
                 {ix("Salesman_Code", {QStringLiteral("Code")}, true)}});
    t.push_back({QStringLiteral("Customer"), R::Company,
                 {id(), req(vc("Code", 20)), vc("Name", 200), vc("EngName", 200), vc("Address1", 200), vc("Address2", 200),
                  vc("Address3", 200), in("Province"), vc("Zip", 10), vc("Telephone", 100), vc("Fax", 100), in("Salesman"),
                  in("Department"), in("HeadOffice"), dec("CreditLimit", 20, 2), in("CreditDays"), vc("TaxNo", 20), flag("Blocked"),
                  flag("DelFlag")},
                 {ix("Customer_Code", {QStringLiteral("Code")}, true), ix("Customer_Name", {QStringLiteral("Name")})}});
    t.push_back({QStringLiteral("Vendor"), R::Company,
                 {id(), req(vc("Code", 20)), vc("Name", 200), vc("Address1", 200), vc("Telephone", 100), flag("ImportFlag"),
                  flag("Blocked"), flag("DelFlag")},
                 {ix("Vendor_Code", {QStringLiteral("Code")}, true)}});
    t.push_back({QStringLiteral("Product"), R::Company,
                 {id(), req(vc("Code", 30)), vc("ThaiName", 200), vc("EngName", 200), vc("PosName", 100), in("ProductType"),
                  flag("PriceIE"), flag("PrintFrac"), flag("UseSerial"), flag("LotControl"), vc("TaxCode", 10), in("DefaultWh"),
                  flag("PriceByVolumn"), vc("Discount", 50), vc("VolumnUnit", 20), flag("Blocked"), flag("MasterCode"),
                  flag("Negative"), flag("ProductFree"), dec("Size_W", 16, 4), dec("Size_L", 16, 4), dec("Size_H", 16, 4),
                  vc("CartonsUnits", 20), dec("Cartons", 16, 4), dec("NetWeight", 16, 4), dec("GrossWeight", 16, 4),
                  memo("ProductDesc"), flag("CheckSerialPurc"), flag("CheckSerialSale"), flag("CheckSerialStock"),
                  flag("CheckSerialOnhand"), dec("PerDiscountOver", 8, 2), vc("Picture", 250)},
                 {ix("Product_Code", {QStringLiteral("Code")}, true), ix("Product_ThaiName", {QStringLiteral("ThaiName")})}});
    t.push_back({QStringLiteral("ProductUnits"), R::Company,
                 {id(), req(in("Product")), req(vc("UnitName", 30)), dec("Fraction", 16, 4), dec("VolumnFraction", 16, 4),
                  vc("BarCode", 30), dec("PurcPrice"), dec("LabourCost"), dec("SalePrice"), flag("SaleFlag"), flag("PurcFlag"),
                  flag("StockUnitFlag"), flag("SmallUnitFlag")},
                 {ix("ProductUnits_Product", {QStringLiteral("Product"), QStringLiteral("UnitName")}),
                  ix("ProductUnits_BarCode", {QStringLiteral("BarCode")})}});
    t.push_back({QStringLiteral("ProdAttrCode"), R::Company,
                 {id(), req(in("ProdAttrGroup")), req(vc("Code", 20)), vc("Description", 200)},
                 {ix("ProdAttrCode_Group_Code", {QStringLiteral("ProdAttrGroup"), QStringLiteral("Code")})}});
    t.push_back({QStringLiteral("PartSource"), R::Company,
                 {id(), req(in("ProductUnits")), req(in("Vendor")), dec("Price"), vc("PurchaseCode", 30), vc("PurchaseName", 200),
                  vc("DiscountStr", 50), dec("lastprice"), vc("lastdoccode", 30), vc("lastdocno", 30), date("lastdate")},
                 {ix("PartSource_Unit_Vendor", {QStringLiteral("ProductUnits"), QStringLiteral("Vendor")})}});
    t.push_back({QStringLiteral("Project"), R::Company,
                 {id(), req(vc("Code", 30)), vc("Description", 250), vc("RefNo", 50), date("InputDate"), ch("SubType", 10),
                  in("Customer"), in("Department"), vc("Hire", 200), vc("Supporter", 200), vc("AttnPlace", 250), vc("Phone", 50),
                  vc("Fax", 50), vc("UnitNo", 50), vc("ProjectPlace", 250), vc("ProjectDesc", 250), vc("CompSupport", 100),
                  vc("CompSupport_Phone", 50), vc("CompEngineer", 100), vc("CompEngineer_Phone", 50), vc("Controller", 100),
                  vc("Controller_Phone", 50), vc("CompManager", 100), vc("CompManager_Phone", 50), vc("CompOs", 100),
                  vc("CompOs_Phone", 50), vc("CompSecurity", 100), vc("CompSecurity_Phone", 50), vc("PurcDepartment", 100),
                  vc("PurcDepartment_Phone", 50), date("BeginDate"), date("EndDate"), flag("JobType"), vc("JobName", 200),
                  dec("Advance", 20, 2), flag("IncludeVAT"), in("CurrencyId"), dec("Rate"), dec("Total"), dec("ProjectPrice", 20, 2),
                  dec("consume", 8, 2), dec("overhead", 8, 2), dec("risk", 8, 2), dec("commission", 8, 2), dec("profit", 8, 2),
                  in("Product"), in("ProductUnits"), dec("ProdQuantity", 16, 2), dec("QuantityFinish", 16, 2), flag("Blocked"),
                  flag("LockHaveIssue"), memo("DescMemo"), vc("PicPath01", 250), flag("Closed"), dtm("CloseDate")},
                 {ix("Project_Code", {QStringLiteral("Code")}, true)}});
    t.push_back({QStringLiteral("ProjectItemHD"), R::Company,
                 {id(), req(in("Project")), vc("Code", 30), vc("Description", 250), date("InputDate"), vc("Remark", 250),
                  dec("Amount"), date("StartDate"), date("StopDate"), date("TaskStartDate"), date("TaskStopDate"),
                  vc("TaskPlace", 250), vc("TaskManager", 100), flag("TaskClose"), date("TaskCloseDate"), date("StartDateReal")},
                 {ix("ProjectItemHD_Project", {QStringLiteral("Project")})}});
    t.push_back({QStringLiteral("ProjectItemDt"), R::Company,
                 {id(), req(in("ProjectItemHD")), in("Product"), in("ProductUnits"), dec("Quantity", 16, 2), dec("Price"),
                  vc("Remark", 250), ch("DetailType", 1), in("ItemOrderNo"), vc("Description", 250), in("Vendor"), dec("Labour"),
                  dec("AmountM"), dec("AmountL"), dec("Total"), date("StartUseDate"), date("StopUseDate"), ch("UnitsAs", 15)},
                 {ix("ProjectItemDt_HD", {QStringLiteral("ProjectItemHD")})}});
    // Attribute groups and codes of products, customers and vendors; an attribute is
    // stored on its owner as one text, group code followed by attribute code.
    t.push_back({QStringLiteral("ProdAttrGroup"), R::Company,
                 {id(), req(vc("Code", 10)), vc("Description", 200), in("ProductType")}});
    t.push_back({QStringLiteral("ProductAttribute"), R::Company,
                 {id(), req(in("Product")), req(vc("GroupCode", 30))},
                 {ix("ProductAttribute_Group", {QStringLiteral("GroupCode")})}});
    t.push_back({QStringLiteral("CusAttrGroup"), R::Company, {id(), req(vc("Code", 10)), vc("Description", 200)}});
    t.push_back({QStringLiteral("CusAttrCode"), R::Company,
                 {id(), req(in("CusAttrGroup")), req(vc("Code", 20)), vc("Description", 200)},
                 {ix("CusAttrCode_Group_Code", {QStringLiteral("CusAttrGroup"), QStringLiteral("Code")})}});
    t.push_back({QStringLiteral("CustomerAttribute"), R::Company,
                 {id(), req(in("Customer")), req(vc("GroupCode", 30))},
                 {ix("CustomerAttribute_Group", {QStringLiteral("GroupCode")})}});
    t.push_back({QStringLiteral("VenAttrGroup"), R::Company, {id(), req(vc("Code", 10)), vc("Description", 200)}});
    t.push_back({QStringLiteral("VenAttrCode"), R::Company,
                 {id(), req(in("VenAttrGroup")), req(vc("Code", 20)), vc("Description", 200)},
                 {ix("VenAttrCode_Group_Code", {QStringLiteral("VenAttrGroup"), QStringLiteral("Code")})}});
    t.push_back({QStringLiteral("VendorAttribute"), R::Company,
                 {id(), req(in("Vendor")), req(vc("GroupCode", 30))},
                 {ix("VendorAttribute_Group", {QStringLiteral("GroupCode")})}});
    // Print forms per print code. ShowPrintPreview is added by upgradeSystemForm, as
    // on older databases.
    t.push_back({QStringLiteral("SystemForm"), R::Company,
                 {id(), in("FormOrderNo"), vc("FormCode", 20), vc("FormDesc", 100), vc("FrfName", 100), vc("SpName", 100),
                  vc("DocCode", 30), vc("DocParaName", 100), in("FeedPixel"), in("FeedLeft")},
                 {ix("SystemForm_Code", {QStringLiteral("FormCode")})}});
    // Named statement scripts: the preparation procedures on engines without stored procedures.
    t.push_back({QStringLiteral("ServerScript"), R::Company,
                 {id(), req(vc("ProcName", 100)), in("StepNo"), memo("SqlText")},
                 {ix("ServerScript_Name", {QStringLiteral("ProcName"), QStringLiteral("StepNo")})}});
    // What the project sheet's preparation leaves for the layout.
    t.push_back({QStringLiteral("RpProjectSheet"), R::Company,
                 {id(), vc("DocNo", 30), in("DocYear"), vc("DocCode", 30), in("JobCount"), dec("JobTotal", 20, 2), dtm("PreparedAt")},
                 {ix("RpProjectSheet_DocNo", {QStringLiteral("DocNo")})}});

    // ---------------------------------------------------------- look-up family
    // Columns the look-ups and selector frames read, appended to tables above.
    auto extend = [&t](const char *table, std::vector<ColumnDef> cols) {
        for (auto &def : t)
            if (def.name == QLatin1String(table)) {
                for (auto &c : cols)
                    def.columns.push_back(std::move(c));
                return;
            }
    };
    extend("UserName", {flag("active")});
    extend("Salesman", {vc("Surname", 200), in("Department"), flag("Status"), date("StartDate"), date("StopDate"),
                        vc("Address1", 200), vc("Address2", 200), vc("Address3", 200), in("Province"), vc("ZipCode", 10),
                        vc("Phone", 50), vc("Fax", 50), vc("EMail", 100)});
    extend("Warehouse", {flag("IsLocation")});
    extend("Vendor", {flag("VendorImport"), in("DueDays"), vc("Remark", 250), vc("PhoneNo", 100), vc("FaxNo", 100)});
    t.push_back({QStringLiteral("Employee"), R::Company,
                 {id(), req(vc("Code", 20)), vc("Name", 200), in("Department"), flag("Status")},
                 {ix("Employee_Code", {QStringLiteral("Code")}, true)}});
    t.push_back({QStringLiteral("AccountChart"), R::Company,
                 {id(), req(vc("Code", 30)), vc("NameThai", 200), vc("NameEng", 200), ch("AcType", 1), vc("AcGroup", 10)},
                 {ix("AccountChart_Code", {QStringLiteral("Code")}, true)}});
    t.push_back({QStringLiteral("LotNo"), R::Company,
                 {id(), req(vc("Code", 30)), vc("Description", 200), in("Product"), date("ExpiredDate"), flag("HasExpired")},
                 {ix("LotNo_Code", {QStringLiteral("Code")})}});
    t.push_back({QStringLiteral("vendorcontact"), R::Company,
                 {id(), req(in("Vendor")), vc("ContactName", 200), vc("Phone", 50)},
                 {ix("vendorcontact_Vendor", {QStringLiteral("Vendor")})}});

    // ---------------------------------------------------------- product and customer look-ups
    // Stock by year and warehouse, and the order and invoice lines the back-order
    // figures of the barcode look-up are made of.
    t.push_back({QStringLiteral("ProductOnHand"), R::Company,
                 {id(), req(in("Product")), in("Warehouse"), req(in("BalanceYear")), dec("Quantity", 20, 6)},
                 {ix("ProductOnHand_Product_Year", {QStringLiteral("Product"), QStringLiteral("BalanceYear")})}});
    t.push_back({QStringLiteral("SoHd"), R::Company, {id(), vc("SoNo", 30), in("Customer"), date("SoDate"), flag("DelFlag")}});
    t.push_back({QStringLiteral("SoDt"), R::Company,
                 {id(), req(in("SoHd")), in("Product"), in("ProductUnits"), dec("Quantity", 16, 4), dec("Fraction", 16, 4), flag("Clear")},
                 {ix("SoDt_Product", {QStringLiteral("Product")})}});
    t.push_back({QStringLiteral("PosHeader"), R::Company, {id(), in("SoHd")}});
    t.push_back({QStringLiteral("IvHd"), R::Company, {id(), vc("IvNo", 30), ch("IvType", 1), flag("NotCutStock"), flag("DelFlag")}});
    t.push_back({QStringLiteral("IvDt"), R::Company,
                 {id(), req(in("IvHd")), in("Product"), in("ProductUnits"), dec("Quantity", 16, 4), dec("Fraction", 16, 4), in("SoDt"),
                  in("IvdtB")},
                 {ix("IvDt_Product", {QStringLiteral("Product")})}});
    t.push_back({QStringLiteral("CustomerGroup"), R::Company, {id(), req(vc("Code", 20)), vc("Description", 200)}});
    // ---------------------------------------------------------- service matters
    // Matters reported by customers, numbered per matter type; times are "hh:mm".
    t.push_back({QStringLiteral("jobtran"), R::Company,
                 {id(), flag("DelFlag"), ch("JobType", 1), vc("JobNo", 30), date("JobDate"), vc("JobTime", 5), in("Customer"),
                  vc("CusAttn", 100), in("RcptEmployee"), vc("byemployee", 100), in("ContractHd"), flag("RefJob"),
                  in("RefRcptEmployee"), date("RefRcptDate"), vc("RefRcptTime", 5), vc("JobTitle", 200), in("problem"),
                  memo("JobDetail"), in("PassEmployee"), in("JobStatus"), date("JobAppDate"), vc("JobAppTime", 5),
                  memo("FixDetail"), in("FixEmployee"), date("FixDate"), vc("FixTime", 5), vc("Fixtime2", 5), in("fixproblem"),
                  flag("Clear"), flag("ActionBack"), vc("ActionBackAttn", 100), date("ActionBackDate"), vc("ActionBackTime", 5),
                  vc("actionbacktime2", 5), in("ActionBackBy"), memo("feedbackremark"), flag("Warning"), date("WarningDate"),
                  vc("WarningTime", 5)},
                 {ix("jobtran_Type_No", {QStringLiteral("JobType"), QStringLiteral("JobNo")})}});
    // Service contracts are kept by another program; matters refer to them and the
    // contract look-up may purge a cancelled one with its lines.
    t.push_back({QStringLiteral("ContractHd"), R::Company,
                 {id(), req(vc("ContractNo", 30)), date("ContractDate"), in("Customer"), vc("ContractType", 10), date("PeriodStart"),
                  date("PeriodStop"), dec("Total", 20, 2), in("RefContracthd"), vc("InstallSite1", 200), vc("InstallSite2", 200),
                  flag("DelFlag"), vc("CancelRemark", 250), flag("NotContinue"), vc("NotContinueRemark", 250)},
                 {ix("ContractHd_No", {QStringLiteral("ContractNo")})}});
    t.push_back({QStringLiteral("ContractDt"), R::Company,
                 {id(), req(in("ContractHd")), in("Product"), vc("Description", 200), dec("Quantity", 16, 2), dec("Price", 20, 2)},
                 {ix("ContractDt_Hd", {QStringLiteral("ContractHd")})}});
    t.push_back({QStringLiteral("ContractDt2"), R::Company,
                 {id(), req(in("ContractHd")), vc("Description", 200), date("ServiceDate")},
                 {ix("ContractDt2_Hd", {QStringLiteral("ContractHd")})}});
    t.push_back({QStringLiteral("ContractPayPeriod"), R::Company,
                 {id(), req(in("ContractHd")), date("PayDate"), dec("Amount", 20, 2)},
                 {ix("ContractPayPeriod_Hd", {QStringLiteral("ContractHd")})}});
    t.push_back({QStringLiteral("customercontact"), R::Company,
                 {id(), req(in("customer")), vc("name", 100), vc("section", 100), vc("phone", 50), vc("fax", 50), vc("othermemo", 250),
                  flag("activecontact")},
                 {ix("customercontact_Customer", {QStringLiteral("customer")})}});
    for (TableDef &def : t) {
        // The picture file of a product, a name inside the company's picture folder.
        if (def.name == QLatin1String("Product"))
            for (ColumnDef c : {vc("Picture1", 250), vc("Remark", 200), in("PType"), in("PGroup")})
                def.columns.push_back(c);
        // Provinces copied from the head office are written as not blocked.
        if (def.name == QLatin1String("Misc"))
            def.columns.push_back(flag("Blocked"));
        if (def.name == QLatin1String("Customer"))
            for (ColumnDef c : {in("CustomerGroup"), vc("HeadCode", 20), in("Vendor"), in("TaxCode"), vc("Email", 100)})
                def.columns.push_back(c);
    }

    // ---------------------------------------------------------- product look-up layouts
    // Stock, manufacturing and book-shop figures shown beside each product, and the
    // production detail of a product's open work orders.
    extend("Product", {vc("TechNicName1", 200), vc("TechNicName2", 200)});
    // Filled by the manufacturing system: per product, quantities already as texts.
    t.push_back({QStringLiteral("ProductonhandMFG"), R::Company,
                 {id(), req(in("Product")), vc("Onhand", 60), vc("WorkOrderOH", 60), vc("PreIsQty", 60), vc("WKIsQty", 60),
                  vc("OH_WKIsQty", 60)},
                 {ix("ProductonhandMFG_Product", {QStringLiteral("Product")})}});
    // List prices per unit and price level (a Misc id of group PRICETYPE).
    t.push_back({QStringLiteral("ProductPrice"), R::Company,
                 {id(), req(in("Product")), req(in("ProductUnits")), req(in("PriceType")), dec("Price")},
                 {ix("ProductPrice_Unit_Type", {QStringLiteral("ProductUnits"), QStringLiteral("PriceType")})}});
    // A product's attribute code per attribute group, by ids.
    t.push_back({QStringLiteral("ProductAttr"), R::Company,
                 {id(), req(in("Product")), req(in("ProdAttrGroup")), req(in("ProdAttrCode"))},
                 {ix("ProductAttr_Product_Group", {QStringLiteral("Product"), QStringLiteral("ProdAttrGroup")})}});
    t.push_back({QStringLiteral("PoHd"), R::Company, {id(), vc("PoNo", 30), in("Vendor"), date("PoDate"), flag("DelFlag")}});
    t.push_back({QStringLiteral("PoDt"), R::Company,
                 {id(), req(in("PoHd")), in("Product"), in("ProductUnits"), dec("Quantity", 16, 4), dec("Fraction", 16, 4), flag("Clear")},
                 {ix("PoDt_Product", {QStringLiteral("Product")})}});
    t.push_back({QStringLiteral("MrHd"), R::Company, {id(), vc("MrNo", 30), in("Vendor"), date("MrDate"), flag("DelFlag")}});
    t.push_back({QStringLiteral("MrDt"), R::Company,
                 {id(), req(in("MrHd")), in("Product"), in("ProductUnits"), dec("Quantity", 16, 4), dec("Fraction", 16, 4), in("PoDt")},
                 {ix("MrDt_Product", {QStringLiteral("Product")})}});
    t.push_back({QStringLiteral("WorkOrderHd"), R::Company,
                 {id(), vc("WorkOrderNo", 30), date("WorkDate"), in("Customer"), in("SoHd"), in("Product"), in("ProductUnits"),
                  dec("Quantity", 16, 4), flag("Clear"), flag("Delflag")},
                 {ix("WorkOrderHd_Product", {QStringLiteral("Product")})}});
    t.push_back({QStringLiteral("MFGFinishDt"), R::Company,
                 {id(), req(in("WorkOrderHd")), in("Product"), in("ProductUnits"), dec("Quantity", 16, 4), dec("Fraction", 16, 4)},
                 {ix("MFGFinishDt_WorkOrder", {QStringLiteral("WorkOrderHd"), QStringLiteral("Product")})}});
    // ---------------------------------------------------------- organisation
    extend("Employee", {vc("Address1", 200), vc("PhoneNo", 50), in("EmpPosition"), vc("UserCode", 20)});
    extend("Misc", {flag("ismfg")});
    // A department's cost centre (a Misc id of group COSTNO) and expense account.
    t.push_back({QStringLiteral("departmentcostno"), R::Company,
                 {id(), in("department"), in("costno"), in("accountchart")},
                 {ix("departmentcostno_department", {QStringLiteral("department")})}});
    t.push_back({QStringLiteral("Branch"), R::Company,
                 {id(), flag("DelFlag"), vc("BranchCode", 20), vc("BranchName", 200), vc("BranchDatabase", 50)},
                 {ix("Branch_Code", {QStringLiteral("BranchCode")}, true)}});

    // ---------------------------------------------------------- pricing
    // A customer's own price, quantity and discount per product and selling unit.
    // QuotaQuantity is added by the price window itself, as on older databases.
    t.push_back({QStringLiteral("customerproductprice"), R::Company,
                 {id(), req(in("Customer")), req(in("Product")), req(in("ProductUnits")), dec("Price"), in("Quantity"),
                  vc("Discount", 50)},
                 {ix("customerproductprice_Customer", {QStringLiteral("Customer"), QStringLiteral("Product")})}});
    // Names matched anywhere by the product and customer look-ups.
    for (TableDef &def : t) {
        IndexDef trigram = ix(def.name == QLatin1String("Product") ? "Product_ThaiName_Trgm" : "Customer_Name_Trgm",
                              {def.name == QLatin1String("Product") ? QStringLiteral("ThaiName") : QStringLiteral("Name")});
        trigram.trigram = true;
        if (def.name == QLatin1String("Product") || def.name == QLatin1String("Customer"))
            def.indexes.push_back(trigram);
    }
    return t;
}
} // namespace

const ColumnDef *TableDef::column(const QString &n) const
{
    for (const auto &c : columns)
        if (c.name.compare(n, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

const std::vector<TableDef> &schemaCatalogue()
{
    static const std::vector<TableDef> catalogue = build();
    return catalogue;
}

const TableDef *findTable(DbRole role, const QString &name)
{
    for (const auto &t : schemaCatalogue())
        if (t.role == role && t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}
