#include "vcl/Peers.h"

#include <atomic>

namespace {
std::atomic<IPeerFactory*> factory{nullptr};
}

IPeerFactory* PeerFactory() { return factory.load(std::memory_order_acquire); }

void InstallPeerFactory(IPeerFactory* Factory) { factory.store(Factory, std::memory_order_release); }
