#include "localization/LxHelp.h"

#include "classes/Registry.h"
#include "rtl/Files.h"
#include "vcl/Dialogs.h"

const char* const lxHelpRegistryKey = "Software\\Yorde\\Localization";

void DisplayHelpTopic(TWinControl*, int) {
    TRegistry registry;
    if (!registry.OpenKeyReadOnly(lxHelpRegistryKey)) return;
    AnsiString file;
    try {
        file = registry.ReadString("HelpFile");
    } catch (const ERegistryException&) {
        return;
    }
    if (FileExists(file)) return;
    ShowMessageBox("Cannot find help file \"" + file + "\"." +
                       "\n\rMake sure that the translation component library is properly installed.",
                   "Error", MB_ICONEXCLAMATION);
}
