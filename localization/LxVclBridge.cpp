// The screen cursor of the controls layer, for the cursor shown while a
// language is applied.
#include "localization/LxVclSeam.h"
#include "localization/Lxcomp.h"
#include "vcl/Forms.h"

void lxUseVclScreenCursor() {
    lxInstallScreenCursor({[] { return Screen ? int(Screen->Cursor()) : 0; },
                           [](int Cursor) {
                               if (Screen) Screen->SetCursor(TCursor(Cursor));
                           }});
}
