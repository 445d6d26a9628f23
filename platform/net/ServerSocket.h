#pragma once
// A listening TCP socket on 127.0.0.1, used as the single-instance guard:
// only the bound port matters. Connections are never served; they wait in the
// listen backlog until the socket is closed (nothing accepts them).
#include "classes/Classes.h"
#include "rtl/FileDescriptor.h"

YORDE_DECLARE_EXCEPTION(ESocketError, Exception)

class TServerSocket : public TComponent {
    YORDE_CLASS(TServerSocket, TComponent)
public:
    explicit TServerSocket(TComponent* AOwner);
    ~TServerSocket() override;

    int Port() const { return port_; }
    // ESocketError while active.
    void SetPort(int Value);

    bool Active() const { return listening_.Valid() || (streamedActive_ && loading()); }
    // True binds 127.0.0.1:Port and listens; ESocketError when the port is
    // taken. False closes. While loading, the value is applied in Loaded.
    void SetActive(bool Value);

    void Open() { SetActive(true); }
    void Close() { SetActive(false); }

    void Loaded() override;

private:
    bool loading() const;
    void open();

    int port_ = 0;
    bool streamedActive_ = false;
    TUniqueFd listening_;
};
