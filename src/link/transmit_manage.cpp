// The engine's life: construction, Init with its sockets and threads, the thread loops, shutdown.
#include "link/transmit_manage.h"

#include <system_error>

#include "link/ap_socket.h"
#include "link/receive_loop.h"
#include "link/socket_sender.h"
#include "store/sql_management.h"
#include "support/log.h"
#include "support/program_dir.h"

// A failed Init step: its ERROR line, logged where it failed, and the failure kept.
#define INIT_STEP_FAILED(line, reason) (LOG_ERROR("%s", line), InitFailed(line, reason))

namespace
{

struct PreparedInstance
{
    std::unique_ptr<CApSender> sender;
    std::optional<std::string> adapterLibraryPath;
};

PreparedInstance& Prepared()
{
    static PreparedInstance prepared;
    return prepared;
}

} // namespace

void AcTransmitManage::PrepareInstance(std::unique_ptr<CApSender> sender, std::string adapterLibraryPath)
{
    Prepared() = {std::move(sender), std::move(adapterLibraryPath)};
}

AcTransmitManage& AcTransmitManage::GetInstance()
{
    // The store is complete before the engine, so it is destroyed after it.
    static AcTransmitManage engine(
        std::move(Prepared().sender), &CSqlManagement::GetInstance(),
        Prepared().adapterLibraryPath.value_or(GetProgramDirectory() + kLocalAdapterLibraryName));
    return engine;
}

AcTransmitManage::AcTransmitManage(std::unique_ptr<CApSender> sender, CSqlManagement* store,
                                   const std::string& adapterLibraryPath)
    : m_sender(std::move(sender)), m_store(store), m_ownsSockets(m_sender == nullptr)
{
    if (m_ownsSockets)
        m_sender = std::make_unique<CSocketSender>(socket_discover_send, socket_heartbeat);
    m_adapterLibrary.Load(adapterLibraryPath);
    LOG_INFO("LoadLibrary dll %lu", static_cast<unsigned long>(m_adapterLibrary.Handle()));
}

AcTransmitManage::~AcTransmitManage()
{
    StopThreads();
    // socket_heartbeat is still open here, so the release leaves the way every request does.
    for (const manage_ap_info& record : m_manageAps.Snapshot())
        SendPacketMutilcast(record.ip, kMsgRelease, nullptr, 0, record.mac, false);
    socket_discover_send.Reset();
    socket_discover_recv.Reset();
    socket_heartbeat.Reset();
    socket_config.Reset();
}

bool AcTransmitManage::Init(int retransmissionMax, int retransmissionInterval)
{
    // A second Init starts again from nothing; its old threads end first.
    StopThreads();
    m_retransmissionMax = retransmissionMax;
    m_retransmissionInterval = retransmissionInterval;
    {
        std::lock_guard guard(m_initFailureLock);
        m_initFailure.clear();
    }

    if (!m_stop.Create())
        return INIT_STEP_FAILED("create event_stop fail", "");
    m_stopping = false;
    if (!m_discoverQueue.CreateEvent())
        return INIT_STEP_FAILED("create event_manage_discover fail", "");
    if (!m_heartbeatQueue.CreateEvent())
        return INIT_STEP_FAILED("create event_manage_heartbeat fail", "");
    if (!m_configQueue.CreateEvent())
        return INIT_STEP_FAILED("create event_manage_config fail", "");
    // An engine with an injected sender has no network: its receive threads find no socket and end.
    if ((m_ownsSockets && !CreateSockets()) || !StartThreads())
        return false;

    std::vector<local_adapter_info> adapters;
    GetLocalAdapterList(adapters);
    return true;
}

std::string AcTransmitManage::LastInitFailure() const
{
    std::lock_guard guard(m_initFailureLock);
    return m_initFailure;
}

bool AcTransmitManage::InitFailed(const std::string& line, const std::string& reason)
{
    std::lock_guard guard(m_initFailureLock);
    m_initFailure = reason.empty() ? line : line + ": " + reason;
    return false;
}

bool AcTransmitManage::CreateSockets()
{
    std::string why;
    if (!AcCreateSocket(socket_discover_send, kDiscoverBroadcastPort, true, kSocketBuffer, kSocketBuffer, false, "", "",
                        &why))
        return INIT_STEP_FAILED("create socket_discover_send fail", why);
    if (!AcCreateSocket(socket_discover_recv, kDiscoverReportPort, false, kSocketBuffer, kSocketBuffer, false, "", "",
                        &why))
        return INIT_STEP_FAILED("create socket_discover_recv fail", why);
    if (!AcCreateSocket(socket_heartbeat, kHeartbeatPort, false, kSocketBuffer, kSocketBuffer, false, "", "", &why))
        return INIT_STEP_FAILED("create socket_heartbeat fail", why);
    // Requests leave from this socket too; none may come back to the tool, even where this host has
    // joined the group for another program.
    if (!DisableMulticastLoop(socket_heartbeat.Get()))
    {
        LOG_ERROR("socket setsockopt IP_MULTICAST_LOOP fail");
        socket_heartbeat.Reset();
        return INIT_STEP_FAILED("create socket_heartbeat fail", "socket setsockopt IP_MULTICAST_LOOP fail (port " +
                                                                    std::to_string(kHeartbeatPort) + ")");
    }
    if (!AcCreateSocket(socket_config, kReplyPort, false, kConfigSocketBuffer, kConfigSocketBuffer, false, "", "",
                        &why))
        return INIT_STEP_FAILED("create socket_config fail", why);
    return true;
}

bool AcTransmitManage::StartThreads()
{
    const auto start = [this](std::thread& slot, const char* failure, auto&& body)
    {
        try
        {
            slot = std::thread(std::forward<decltype(body)>(body));
            return true;
        }
        catch (const std::system_error&)
        {
            return INIT_STEP_FAILED(failure, "");
        }
    };
    return start(thread_recv_discover, "create thread_recv_discover fail",
                 [this] { ReceiveThreadFunc(socket_discover_recv, ApChannel::DiscoverReports, m_discoverQueue); }) &&
           start(thread_recv_heartbeat, "create thread_recv_heartbeat fail",
                 [this] { ReceiveThreadFunc(socket_heartbeat, ApChannel::Heartbeats, m_heartbeatQueue); }) &&
           start(thread_recv_config, "create thread_recv_config fail",
                 [this] { ReceiveThreadFunc(socket_config, ApChannel::Replies, m_configQueue); }) &&
           start(thread_manage_discover, "create thread_manage_discover fail",
                 [this] { ManageThreadFunc(m_discoverQueue, &AcTransmitManage::ManageDiscoverPacket, false); }) &&
           start(thread_manage_heartbeat, "create thread_manage_heartbeat fail",
                 [this] { ManageThreadFunc(m_heartbeatQueue, &AcTransmitManage::ManageHeartbeatPacket, false); }) &&
           start(thread_manage_config, "create thread_manage_config fail",
                 [this] { ManageThreadFunc(m_configQueue, &AcTransmitManage::ManageConfigPacket, true); }) &&
           start(thread_check_heartbeat, "create thread_check_heartbeat fail",
                 [this] { CheckHeartbeatThreadFunc(); }) &&
           start(thread_retransmission, "create thread_retransmission fail", [this] { RetransmissionThreadFunc(); });
}

void AcTransmitManage::StopThreads()
{
    m_stopping = true;
    if (m_stop.Valid())
        m_stop.Signal();
    for (std::thread* thread :
         {&thread_recv_discover, &thread_recv_heartbeat, &thread_recv_config, &thread_manage_discover,
          &thread_manage_heartbeat, &thread_manage_config, &thread_check_heartbeat, &thread_retransmission})
        if (thread->joinable())
            thread->join();
}

void AcTransmitManage::ReceiveThreadFunc(const CUniqueFd& socket, ApChannel channel, CPacketQueue& queue)
{
    RunReceiveLoop(socket.Get(), channel, queue, m_stop);
}

void AcTransmitManage::ManageThreadFunc(CPacketQueue& queue, void (AcTransmitManage::*handle)(const ap_packet_info&),
                                        bool logWake)
{
    while (WaitReadable(queue.Event().Fd(), m_stop) == WaitResult::Event)
    {
        queue.Event().Consume();
        if (logWake)
            LOG_INFO("manage ap config");
        for (const ap_packet_info& packet : queue.TakeAll())
        {
            if (m_stopping)
                return;
            (this->*handle)(packet);
        }
    }
}

void AcTransmitManage::CheckHeartbeatThreadFunc()
{
    while (WaitForStop(m_stop, kHeartbeatCheckPeriod) == WaitResult::Timeout)
        CheckManageApHeartbeat();
}

void AcTransmitManage::RetransmissionThreadFunc()
{
    // The interval counts as an unsigned number of milliseconds: a negative one waits for weeks.
    while (WaitForStop(m_stop, std::chrono::milliseconds(static_cast<uint32_t>(m_retransmissionInterval.load()))) ==
           WaitResult::Timeout)
        CheckManageApRetransmission();
}
