// The print library: the document forms of the newer layout format are printed
// through this shared library, loaded by the print dialog at run time. It opens
// the company database by name itself and renders with the same report engine.
#include "report/TFrPrintForm.h"
#include <QtGlobal>

extern "C" Q_DECL_EXPORT int DllPrintForm(const wchar_t *company, const wchar_t *frfName, const wchar_t *userCode,
                                          const wchar_t *docNo, int mode, int flag)
{
    Q_UNUSED(flag); // always 1 from the callers
    auto text = [](const wchar_t *w) { return w ? QString::fromWCharArray(w) : QString(); };
    return PrintLibraryForm(text(company), text(frfName), text(userCode), text(docNo), mode);
}
