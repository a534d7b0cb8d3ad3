#pragma once

#include "core/scan/ScanObserver.h"

#include <memory>

class QProgressDialog;
class QWidget;

// Find Display as the window shows it: a progress dialog that names the device and setting
// being tried, and whose Cancel ends the scan.
class FindDisplayProgress : public ScanObserver {
public:
    explicit FindDisplayProgress(QWidget* i_pWindow);
    ~FindDisplayProgress() override;
    FindDisplayProgress(const FindDisplayProgress&) = delete;
    FindDisplayProgress& operator=(const FindDisplayProgress&) = delete;

    void Trying(const ScanStep& i_step) override;
    bool Cancelled() override;

private:
    std::unique_ptr<QProgressDialog> m_pDialog;
};
