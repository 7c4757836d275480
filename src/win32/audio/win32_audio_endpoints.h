#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "platform/audio_endpoints.h"
#include "win32/system/unique_handle.h"

struct IMMDevice;
struct IMMDeviceCollection;

namespace qmx::win32 {

class DeviceNotifications;

// The Core Audio device list (Windows Vista and later). Its notifications arrive on a system
// thread; they are posted to a hidden window of this object and handed on from the
// user-interface thread's message loop. Needs COM on the creating thread.
class Win32AudioEndpoints : public platform::AudioEndpoints {
public:
    explicit Win32AudioEndpoints(HINSTANCE instance);
    ~Win32AudioEndpoints() override;

    std::uint32_t defaultOutput(platform::Role role, std::string& id) override;
    std::uint32_t activateVolume(const std::string& id,
                                 std::unique_ptr<platform::EndpointVolume>& volume) override;
    std::uint32_t friendlyName(const std::string& id, std::string& name) override;
    std::uint32_t activeOutputs(std::vector<platform::OutputDevice>& outputs) override;
    std::uint32_t setDefaultOutput(platform::Role role, const std::string& id) override;
    std::string policyConfigInUse() const override;
    std::uint32_t installedOutputs(std::size_t& count) override;
    bool watchChanges(std::function<void()> changed) override;
    bool reconnect() override;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    HRESULT enumerator();
    HRESULT device(const std::string& id, ComPtr<IMMDevice>& device);
    HRESULT renderDevices(DWORD mask, ComPtr<IMMDeviceCollection>& devices, UINT& count);
    bool startWatching();
    void stopWatching();
    void unregisterRefused();

    HINSTANCE instance_;
    HWND window_ = nullptr;
    struct Com;
    std::unique_ptr<Com> com_;
    std::function<void()> changed_;
    std::size_t policyPairing_ = 0;  // the policy-config pairing that answered last
    const char* policyConfigInUse_ = nullptr;
};

}  // namespace qmx::win32
