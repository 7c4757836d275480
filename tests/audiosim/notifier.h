#pragma once

#include <windows.h>

#include <mmdeviceapi.h>

#include <cstdint>
#include <vector>

namespace audiosim {

// The notification clients registered in this process, without a reference of their own, as
// Windows keeps them. While any is registered, a thread of the simulator looks for new device
// events every few milliseconds and calls each client that was registered in the audio service's
// current life, never on the thread that caused the event, as Windows does. Between events the
// thread holds nothing a process's end needs (see run), and it ends with the last client.
class Notifier {
public:
    static Notifier& instance();

    void add(IMMNotificationClient* client, std::uint32_t epoch, std::uint32_t seen);
    bool remove(IMMNotificationClient* client);

private:
    struct Client {
        IMMNotificationClient* client;
        std::uint32_t epoch;
        std::uint32_t seen;  // the last event it was told of
    };

    Notifier();
    static DWORD WINAPI run(void* self);
    bool deliver();

    CRITICAL_SECTION lifecycle_;   // the thread's start and end
    CRITICAL_SECTION lock_;        // the list
    CRITICAL_SECTION delivering_;  // a round of calls to the clients
    std::vector<Client> clients_;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE stop_;  // set: the thread ends
    volatile LONG* lastEvent_;
};

}  // namespace audiosim
