#include "devicelink/RegisterDeviceLink.h"

#include "devicelink/Unitconnect.h"
#include "devicelink/Unitstatus.h"

void RegisterDeviceLinkClasses() { RegisterClasses({TConnectFrame::StaticClass(), TStatusFrame::StaticClass()}); }
