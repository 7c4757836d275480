#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/audio_endpoints.h"

namespace qmx::fakes {

// Simulated audio outputs that come and go. Each change reports itself at once to the watcher,
// as the user-interface thread would receive it after the system's notification; with
// `notifications` off the system stays silent. Volume objects answer AUDCLNT_E_DEVICE_INVALIDATED
// once their device was removed, even after it came back with the same id.
//
// The audio service can restart: while it is stopped every call answers
// AUDCLNT_E_SERVICE_NOT_RUNNING; once it runs again the connection made before the restart, its
// watch and its volume objects answer AUDCLNT_E_DEVICE_INVALIDATED (and hear nothing) until
// reconnect() makes a new connection.
class FakeAudioEndpoints : public platform::AudioEndpoints {
public:
    struct Device {
        std::string name;
        float scalar = 0.5f;
        bool muted = false;
        bool present = true;
        int appearance = 0;  // counts the times the device (re)appeared
    };

    std::uint32_t defaultOutput(platform::Role role, std::string& id) override;
    std::uint32_t activateVolume(const std::string& id,
                                 std::unique_ptr<platform::EndpointVolume>& volume) override;
    std::uint32_t friendlyName(const std::string& id, std::string& name) override;
    std::uint32_t activeOutputs(std::vector<platform::OutputDevice>& outputs) override;
    std::uint32_t setDefaultOutput(platform::Role role, const std::string& id) override;
    std::string policyConfigInUse() const override { return "the Windows 7 policy config"; }
    std::uint32_t installedOutputs(std::size_t& count) override;
    bool watchChanges(std::function<void()> changed) override;
    bool reconnect() override;

    // Plugs a device in (again); it becomes the default for every role when there is none.
    void add(const std::string& id, const std::string& name, float scalar = 0.5f,
             bool muted = false);
    // Unplugs a device; the system picks another default, if any is left.
    void remove(const std::string& id);
    // Makes a device the default for every role, or for one.
    void setDefault(const std::string& id);
    void setDefault(platform::Role role, const std::string& id);
    std::string defaultFor(platform::Role role) const;
    // A device's name changes, as a user renames it in the sound settings.
    void rename(const std::string& id, const std::string& name);
    void stopService();
    void startService();
    bool watching() const { return watching_ && !connectionLost(); }
    // A callback is kept, registered with the system or not, as the real endpoints keep it.
    bool holdsCallback() const { return static_cast<bool>(watcher_); }

    std::map<std::string, Device> devices;
    std::string defaultId;  // the console's; the other roles follow it unless set apart
    std::map<platform::Role, std::string> otherDefaults;
    bool notifications = true;
    // Calls that answer a code instead of their result, by the system's method: the volume
    // object's GetMasterVolumeLevelScalar, SetMasterVolumeLevelScalar, GetMute and SetMute,
    // GetDefaultAudioEndpoint (the default look-up), Activate, EnumAudioEndpoints (the count of
    // installed outputs) and GetValue (the name).
    std::map<std::string, std::uint32_t> failing;
    // Runs inside each call `failing` fails, before it answers: a hung service answers late.
    std::function<void()> whileFailing;
    // The next value calls that answer E_FAIL, before `failing` applies.
    int failNextValueCalls = 0;
    bool watchFails = false;  // the system cannot report changes
    // What the next setDefaultOutput calls answer, one each, before they work again; a switch
    // that answers a failure may still have been made.
    struct SetDefaultAnswer {
        std::uint32_t code;
        bool made = false;
        bool thenServiceStops = false;
    };
    std::deque<SetDefaultAnswer> setDefaultAnswers;
    // One entry per setDefaultOutput that worked.
    std::vector<std::pair<platform::Role, std::string>> defaultsSet;
    int activations = 0;
    int reconnects = 0;
    int defaultLookups = 0;
    int listings = 0;  // of the active outputs
    int nameReads = 0;

private:
    class Volume;
    void changed();
    std::uint32_t failure(const char* method) const;
    std::uint32_t connectionCode() const;
    bool connectionLost() const { return serviceDown_ || connectionLife_ != serviceLife_; }
    std::function<void()> watcher_;
    std::vector<std::string> order_;  // ids in the order they were first added
    bool watching_ = false;
    bool serviceDown_ = false;
    int serviceLife_ = 0;
    int connectionLife_ = 0;
};

}  // namespace qmx::fakes
