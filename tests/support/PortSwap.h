#pragma once

#include "core/device/frmCLumo.h"
#include "core/serial/MSComm.h"

#include <memory>

// Puts a scripted port of type T (FakeComm or one of its kind) in the place of the port host's
// MSComm1 for the object's lifetime, and the port that was there back afterwards. Every session
// reaches the line through that one component, so everything in between goes to the script.
template <typename T> class PortSwap {
public:
    PortSwap() {
        auto port = std::make_unique<T>();
        m_pPort = port.get();
        m_pSaved = frmCLumo::Instance().ReplaceComm(std::move(port));
    }
    ~PortSwap() { frmCLumo::Instance().ReplaceComm(std::move(m_pSaved)); }
    PortSwap(const PortSwap&) = delete;
    PortSwap& operator=(const PortSwap&) = delete;

    // The scripted port, owned by the port host while the swap lasts.
    T* Port() const { return m_pPort; }

private:
    T* m_pPort = nullptr;
    std::unique_ptr<MSComm> m_pSaved;
};
