// The controls of a dialog template (DIALOG, not DIALOGEX) in a module's
// resources, read as the dialog manager reads them: tests compare what a
// dialog shows with its template rather than type the template again.
#pragma once
#include <windows.h>

#include <vector>

struct TemplateControl {
    WORD id;
    DWORD style;
    RECT units;     // dialog units, right and bottom included in the size
    WORD classAtom; // a predefined class (0x0080 button ... 0x0085 combo box) by
                    // ordinal or name, or 0
};
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kStaticAtom = 0x0082;
// The template's header, nullptr when the module has no such dialog.
const DLGTEMPLATE *FindDialogTemplate(HMODULE module, int dialogId);
std::vector<TemplateControl> TemplateControls(const DLGTEMPLATE *dialog);
