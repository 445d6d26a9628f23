#include "ProgramClasses.h"

#include "LayoutResources.h"
#include "localization/Lxcomp.h"
#include "net/HttpClient.h"
#include "qt/QtCommonPeers.h"
#include "qt/QtGridPeer.h"
#include "vcl/CommonRegister.h"
#include "vcl/Grids.h"
#include "workstation/RegisterWorkstation.h"

// platform/vcl/Register.cpp.
void RegisterVclClasses();

void RegisterProgramClasses() {
    yorde::qt::RegisterCommonPeers();
    yorde::qt::RegisterGridPeers();
    NetInit();
    RegisterLayoutResources();
    RegisterVclClasses();
    RegisterCommonControlClasses();
    RegisterGridClasses();
    RegisterLocalizationClasses();
    RegisterWorkstationClasses();
}
