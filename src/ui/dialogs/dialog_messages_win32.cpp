// The dialogs speak to their controls with the Win32 numbers written out in
// dialog_controls.h, so that the stand-in simulator understands them too;
// here the compiler holds those numbers against Windows' own.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "ui/dialogs/dialog_controls.h"
#include "ui/dialogs/dialog_ids.h"
#include "ui/dialogs/keyboard_form.h"

static_assert(MessageSetText == WM_SETTEXT && MessageGetText == WM_GETTEXT &&
                  MessageVirtualKeyToItem == WM_VKEYTOITEM && MessageInitDialog == WM_INITDIALOG &&
                  MessageDialogCommand == WM_COMMAND,
              "window messages");
static_assert(ButtonGetCheck == BM_GETCHECK && ButtonSetCheck == BM_SETCHECK, "button messages");
static_assert(ComboAddString == CB_ADDSTRING && ComboGetSelection == CB_GETCURSEL && ComboSetSelection == CB_SETCURSEL,
              "combo box messages");
static_assert(ListAddString == LB_ADDSTRING && ListGetCaretIndex == LB_GETCARETINDEX, "list box messages");
static_assert(HotKeySet == HKM_SETHOTKEY && HotKeyGet == HKM_GETHOTKEY && HotKeySetRules == HKM_SETRULES,
              "hot-key messages");
static_assert(UpDownSetRange32 == UDM_SETRANGE32, "up-down messages");
static_assert(NotifyClicked == BN_CLICKED && NotifySelectionChange == CBN_SELCHANGE &&
                  NotifySelectionChange == LBN_SELCHANGE && NotifyEditChange == EN_CHANGE,
              "notifications");
static_assert(DIALOG_OK == IDOK && DIALOG_CANCEL == IDCANCEL, "the two buttons");
static_assert(HotKeyInvalidCombinations == (HKCOMB_A | HKCOMB_SA | HKCOMB_CA | HKCOMB_SCA), "hot-key rules");
