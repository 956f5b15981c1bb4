// AcTransmitManage, the device link engine: the protocol's sockets, the threads that receive,
// handle and time the traffic, the managed-device table, the local IP list and the retransmission
// list. One process-wide object; pages talk to devices only through it.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "adapter/local_adapter_api.h"
#include "link/event_fd.h"
#include "link/local_adapter_library.h"
#include "link/local_ip_list.h"
#include "link/manage_ap_table.h"
#include "link/packet_queue.h"
#include "link/packet_sender.h"
#include "link/retransmission_list.h"
#include "link/unique_fd.h"

class CSqlManagement;

constexpr int kDefaultRetransmissionMax = 3;
constexpr int kDefaultRetransmissionInterval = 2000; // milliseconds
constexpr std::chrono::milliseconds kHeartbeatCheckPeriod{10000};

class AcTransmitManage
{
public:
    // The process-wide engine, constructed on the first call: real sockets, the store singleton,
    // libLocalAdapter.so of the program directory.
    static AcTransmitManage& GetInstance();
    // For tests, before the first GetInstance: the process-wide engine sends through sender, so it
    // opens no socket, and loads the adapter library from adapterLibraryPath.
    static void PrepareInstance(std::unique_ptr<CApSender> sender, std::string adapterLibraryPath);

    // sender: what sends (null: the engine's own sockets and raw frames; given: no socket is ever
    // opened). store: where device reports go (null: nowhere). Loads the adapter library from its
    // path and logs the handle.
    AcTransmitManage(std::unique_ptr<CApSender> sender, CSqlManagement* store, const std::string& adapterLibraryPath);
    // Stops and joins every thread, then sends the release message once to every managed device.
    ~AcTransmitManage();
    AcTransmitManage(const AcTransmitManage&) = delete;
    AcTransmitManage& operator=(const AcTransmitManage&) = delete;

    // Events, the four sockets, the eight threads, then the adapter query. False at the first
    // failing step, with its ERROR lines logged; what was created before stays and runs.
    bool Init(int retransmissionMax, int retransmissionInterval);
    // Why the last Init failed (the failing step, its port and the system's reason); empty when it
    // did not fail.
    std::string LastInitFailure() const;

    // Sending, from any thread.
    void SendPacketBroadcast();
    // To one device through the group, once from each local address on its subnet; registered for
    // retransmission when asked and sent. The result of the last send, false when none was made.
    bool SendPacketMutilcast(const std::string& ip, uint16_t msgType, const void* payload, size_t length,
                             const std::string& mac, bool retransmit);
    void RefreshCaptureDevices();

    // The three steps that open a new search, in this order.
    void ReleasePendingManageAp();
    void DeletePendingManageAp();
    void SyncStoreWithManageAp();

    // Rows (status 10) of devices that answered discover but whose configuration is not accepted
    // yet, at most maximum of those that match the filter (IP, MAC or version text).
    void GetPendingApList(std::vector<ap_info_stu>& rows, int maximum,
                          std::optional<std::string_view> filter = std::nullopt);
    // A page is about to move the device at ip to newIp.
    void UpdateManageApIp(const std::string& mac, const std::string& ip, const std::string& newIp);
    // Whether the last site survey has fully arrived.
    bool SurveyComplete() const { return m_surveyComplete.load(); }
    // The usable local adapters; rebuilds the local IP list from them.
    void GetLocalAdapterList(std::vector<local_adapter_info>& list);

    // What the manage threads run for each received record; tests feed records in directly.
    void ManageDiscoverPacket(const ap_packet_info& packet);
    void ManageHeartbeatPacket(const ap_packet_info& packet);
    void ManageConfigPacket(const ap_packet_info& packet);
    // One heartbeat check, and one retransmission pass; their threads wait in between.
    void CheckManageApHeartbeat();
    void CheckManageApRetransmission();
    void RebuildLocalIpList(const std::vector<local_adapter_info>& adapters);

    // Copies of the engine's lists, for tests and diagnostics.
    std::vector<manage_ap_info> ManagedDevices() const { return m_manageAps.Snapshot(); }
    std::vector<retransmission_info> RetransmissionEntries() const { return m_retransmissions.Entries(); }
    std::vector<local_ip_info> LocalIpList() const { return m_localIps.Entries(); }

private:
    bool SendPacket(const ap_send_route& route, const void* payload, size_t length, uint16_t msgType, bool addressed,
                    const std::string& mac);
    void AddManageApRetransmission(const std::string& ip, const void* payload, uint16_t msgType, size_t length,
                                   const std::string& mac);
    void DeleteManageApRetransmission(const std::string& ip, uint16_t msgType, const std::string& mac);

    // Keeps the failing step's line, with the reason, as the last Init failure; false.
    bool InitFailed(const std::string& line, const std::string& reason = {});
    bool CreateSockets();
    bool StartThreads();
    void StopThreads();

    void ReceiveThreadFunc(const CUniqueFd& socket, ApChannel channel, CPacketQueue& queue);
    void ManageThreadFunc(CPacketQueue& queue, void (AcTransmitManage::*handle)(const ap_packet_info&), bool logWake);
    void CheckHeartbeatThreadFunc();
    void RetransmissionThreadFunc();

    // Sockets first, so that the sender that refers to them goes before them.
    CUniqueFd socket_discover_send;
    CUniqueFd socket_discover_recv;
    CUniqueFd socket_heartbeat;
    CUniqueFd socket_config;

    std::unique_ptr<CApSender> m_sender;
    CSqlManagement* m_store;
    bool m_ownsSockets;
    CLocalAdapterLibrary m_adapterLibrary;

    CPacketQueue m_discoverQueue;  // event_manage_discover
    CPacketQueue m_heartbeatQueue; // event_manage_heartbeat
    CPacketQueue m_configQueue;    // event_manage_config
    CEventFd m_stop;               // wakes every thread for good
    std::atomic<bool> m_stopping{false};

    CManageApTable m_manageAps;
    CLocalIpList m_localIps;
    CRetransmissionList m_retransmissions;
    std::atomic<bool> m_surveyComplete{false};
    std::atomic<int> m_retransmissionMax{kDefaultRetransmissionMax};
    std::atomic<int> m_retransmissionInterval{kDefaultRetransmissionInterval};

    mutable std::mutex m_initFailureLock;
    std::string m_initFailure;

    std::thread thread_recv_discover;
    std::thread thread_recv_heartbeat;
    std::thread thread_recv_config;
    std::thread thread_manage_discover;
    std::thread thread_manage_heartbeat;
    std::thread thread_manage_config;
    std::thread thread_check_heartbeat;
    std::thread thread_retransmission;
};
