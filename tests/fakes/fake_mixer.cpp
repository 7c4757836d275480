#include "fakes/fake_mixer.h"

#include <cstring>

namespace qmx::fakes {

namespace {
constexpr std::uint32_t kNoDriver = platform::kMixerNoDriver;
constexpr std::uint32_t kInvalidLine = platform::kMixerInvalidLine;
constexpr std::uint32_t kInvalidControl = platform::kMixerInvalidControl;
}  // namespace

class FakeMixer::Device : public platform::MixerDevice {
public:
    explicit Device(FakeMixer& mixer) : m_(mixer), generation_(mixer.generation_) {
        ++m_.openDevices;
    }
    ~Device() override { --m_.openDevices; }

    std::uint32_t lineInfoByComponentType(std::uint32_t type, platform::MixerLine& line) override {
        m_.log_.add("mixer.lineInfo " + std::to_string(type));
        if (m_.failLineInfo) return m_.failLineInfo;
        if (type != platform::kComponentTypeSpeakers) return kInvalidLine;
        line.lineId = m_.speakersLineId;
        line.componentType = type;
        line.targetProductName.fill('\0');
        std::memcpy(line.targetProductName.data(), m_.productName.data(),
                    std::min<std::size_t>(m_.productName.size(), 31));
        return 0;
    }

    std::uint32_t lineControlByType(std::uint32_t lineId, std::uint32_t type,
                                    platform::MixerControl& control) override {
        m_.log_.add("mixer.lineControl " + std::to_string(type));
        if (m_.failLineControls) return m_.failLineControls;
        if (lineId != m_.speakersLineId) return kInvalidLine;
        if (type == platform::kControlTypeVolume) {
            control.controlId = m_.volumeControlId;
        } else if (type == platform::kControlTypeMute && m_.hasMute) {
            control.controlId = m_.muteControlId;
        } else {
            return kInvalidControl;
        }
        control.controlType = type;
        return 0;
    }

    std::uint32_t controlValue(std::uint32_t id, std::uint32_t& value) override {
        m_.log_.add("mixer.get " + std::to_string(id));
        if (m_.failGet) return m_.failGet;
        if (generation_ != m_.generation_) return kNoDriver;
        if (id == m_.volumeControlId) {
            value = m_.volume;
        } else if (id == m_.muteControlId) {
            value = m_.mute;
        } else {
            return kInvalidControl;
        }
        return 0;
    }

    std::uint32_t setControlValue(std::uint32_t id, std::uint32_t value) override {
        m_.log_.add("mixer.set " + std::to_string(id) + " " + std::to_string(value));
        if (m_.failSet) return m_.failSet;
        if (generation_ != m_.generation_) return kNoDriver;
        if (id == m_.volumeControlId) {
            m_.volume = value;
        } else if (id == m_.muteControlId) {
            m_.mute = value;
        } else {
            return kInvalidControl;
        }
        return 0;
    }

private:
    FakeMixer& m_;
    int generation_;
};

std::uint32_t FakeMixer::open(std::uint32_t deviceId,
                              std::unique_ptr<platform::MixerDevice>& device) {
    log_.add("mixer.open " + std::to_string(deviceId));
    if (failOpen) return failOpen;
    if (!present || deviceId != 0) return kNoDriver;
    ++opens;
    device = std::make_unique<Device>(*this);
    return 0;
}

}  // namespace qmx::fakes
