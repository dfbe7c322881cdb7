// Dialog templates read as the dialog manager reads them, plain (DIALOG) or
// extended (DIALOGEX): the emulation's dialogs rewrite a template's font, and
// the tests compare what a dialog shows with its template rather than type
// the template again.
#pragma once
#include "platform/platform.h"

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

// Where a template's font's face name lies and where the template ends.
struct TemplateLayout {
    const WORD *face = nullptr; // nullptr: the template names no font
    const WORD *afterFace = nullptr;
    const BYTE *end = nullptr;
};

// Reads a template; each control goes into controls where given.
TemplateLayout ReadDialogTemplate(LPCDLGTEMPLATEW dialog,
                                  std::vector<TemplateControl> *controls = nullptr);
std::vector<TemplateControl> TemplateControls(LPCDLGTEMPLATEW dialog);
// The template's header, nullptr when the module has no such dialog.
LPCDLGTEMPLATEW FindDialogTemplate(HMODULE module, int dialogId);
