#pragma once

// Pieces shared by the fuzz targets that drive the device link.

#include "core/device/frmCLumo.h"
#include "core/protocol/WaitClock.h"
#include "core/protocol/modLumo.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

// Hands out the fuzzer's bytes one at a time; 0 once they run out.
class FuzzBytes {
public:
    FuzzBytes(const uint8_t* i_pData, size_t i_iSize) : m_pData(i_pData), m_iSize(i_iSize) {}
    bool Empty() const { return m_iPos >= m_iSize; }
    uint8_t Byte() { return Empty() ? 0 : m_pData[m_iPos++]; }

private:
    const uint8_t* m_pData;
    size_t m_iSize;
    size_t m_iPos = 0;
};

// A clock that jumps to the end of every wait.
class JumpClock : public WaitClock {
public:
    qint64 NowMs() override { return m_lNow; }
    void Idle(qint64 i_lMs) override { m_lNow += i_lMs; }

private:
    qint64 m_lNow = 0;
};

// Breaks a rule: stops the run, so that the fuzzer keeps the input that did it.
inline void Check(bool i_blnOk) {
    if (!i_blnOk) {
        std::abort();
    }
}

// Puts a port of type T in place of the real one and lets every wait jump to its end. Call it
// once a process; the port host owns the port, the caller keeps a pointer to drive it.
template <typename T> T* InstallComm(JumpClock* i_pClock) {
    auto owned = std::make_unique<T>();
    T* raw = owned.get();
    frmCLumo::Instance().ReplaceComm(std::move(owned));
    modLumo::SetClock(i_pClock);
    return raw;
}
