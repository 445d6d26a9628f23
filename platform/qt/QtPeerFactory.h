#pragma once
// The peer factory: which peer each control class gets. A control gets the
// peer registered for the nearest class in its class chain (a TBitBtn the
// TButton peer unless it has its own; anything painted the TControl one).
#include "vcl/Peers.h"

#include <QWidget>

#include <functional>
#include <map>
#include <memory>

namespace yorde::qt {

using TPeerCreator = std::function<std::unique_ptr<IControlPeer>(TControl* Control, QWidget* ParentWidget)>;

class QtPeerFactory : public IPeerFactory {
public:
    QtPeerFactory();
    ~QtPeerFactory() override;

    void Register(TMetaClass* Class, TPeerCreator Creator);

    IApplicationPeer& Application() override { return *app_; }
    IDialogPeer& Dialogs() override { return *dialogs_; }
    std::unique_ptr<IControlPeer> CreateControlPeer(TControl* Control, IControlPeer* Parent) override;
    std::unique_ptr<ITimerPeer> CreateTimerPeer(TTimer* Timer) override;
    std::unique_ptr<ITrayPeer> CreateTrayPeer(TComponent* Tray) override;
    std::unique_ptr<IMenuPeer> CreateMenuPeer(TComponent* Menu) override;
    std::unique_ptr<IPaintBackend> CreateBitmapBackend(TBitmap* Bitmap) override;
    IPaintBackend& Measurer() override { return *measurer_; }
    bool DecodeImage(const std::string& Bytes, int& Width, int& Height, std::vector<uint32_t>& Pixels) override;
    bool EncodeImage(const TPixelsView& Image, const char* Format, std::string& Bytes) override;

private:
    std::map<TMetaClass*, TPeerCreator> creators_;
    std::unique_ptr<IApplicationPeer> app_;
    std::unique_ptr<IDialogPeer> dialogs_;
    std::unique_ptr<IPaintBackend> measurer_;
};

// Registers the peers of the standard controls (QtControlPeers.cpp). A new
// control's peer adds its line there.
void RegisterStandardPeers(QtPeerFactory& Factory);

std::unique_ptr<IApplicationPeer> MakeApplicationPeer();
std::unique_ptr<IDialogPeer> MakeDialogPeer();

}  // namespace yorde::qt
