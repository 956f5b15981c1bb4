// The status page, the page the tool opens on: every stored device with its state, and the devices
// that answered a search but have not reported their configuration yet. It runs the device search,
// renames a device in place, opens a device's web page, and collects the ticked devices for the
// batch operations.
#pragma once

#include <string>
#include <vector>

#include <QPixmap>

#include "pages/list_page_dlg.h"
#include "pages/sender_slot.h"

class CPageTimer;
class CPictureButton;
class CPictureView;
class IDeviceLink;

// Grid columns of the status page.
enum StatusColumn
{
    kStatusColumnTick = 0,
    kStatusColumnSerial,
    kStatusColumnLocation,
    kStatusColumnType,
    kStatusColumnIp,
    kStatusColumnMac,
    kStatusColumnWorkMode,
    kStatusColumnSsid,
    kStatusColumnChannel,
    kStatusColumnVersion,
    kStatusColumnBridge,
    kStatusColumnTdma,
    kStatusColumnTime,
    kStatusColumnOperate,
};

// A ticked device as the batch operations send to it.
struct SelectedDevice
{
    std::string ip;  // local text
    std::string mac; // local text
    int apType = 0;

    bool operator==(const SelectedDevice&) const = default;
};

// The device a rename goes to, and the names before and after.
struct RenameTarget
{
    std::string ip;
    std::string mac;
    int apType = 0;
    QString oldName;
    QString newName;
};

class CStatusDlg : public CListPageDlg
{
    Q_OBJECT

public:
    // Ticks of the search timer, one a second; a discover broadcast goes out every third.
    static constexpr int kSearchTicks = 30;
    static constexpr int kBroadcastEveryTicks = 3;

    // link outlives the page.
    CStatusDlg(IDeviceLink& link, QWidget* parent);
    ~CStatusDlg() override;

    bool IsSearching() const { return !m_idle; }
    // The selection the last press of Set IP, Set Bridge or "Slotra" collected.
    const std::vector<SelectedDevice>& Selection() const { return m_selection; }
    // Test hook: waits until the rename sender has sent.
    void WaitForSenders() { m_renameSender.WaitIdle(); }

protected:
    GridRow MakeRow(const ap_info_stu& record, int serial) const override;
    std::vector<ap_info_stu> TrailingRecords(int missing, const QString& search) override;
    void OnCellClicked(int row, int column) override;

private:
    enum class BatchKind
    {
        SetIp,
        SetBridge,
        Tdma,
    };

    void OnSearchButton();
    void StartSearch();
    void EndSearch();
    void OnSearchTick();
    void SetSearchControlsEnabled(bool enabled);
    void OnCellEdited(int row, int column, const QString& oldText, const QString& newText);
    void StartRenameSender(const RenameTarget& target);
    void OnBatchButton(BatchKind kind);

    IDeviceLink& m_link;
    CPictureButton* m_searchButton = nullptr;
    CPictureButton* m_setIpButton = nullptr;
    CPictureButton* m_setBridgeButton = nullptr;
    CPictureButton* m_tdmaButton = nullptr;
    CPictureView* m_searchAnimation = nullptr;
    CPageTimer* m_searchTimer = nullptr;
    CPageTimer* m_refreshTimer = nullptr;
    QPixmap m_webPicture;

    bool m_idle = true;
    int m_searchTicks = 0;
    RenameTarget m_renameTarget;
    std::vector<SelectedDevice> m_selection;
    // Last member: its senders are stopped and joined before anything they could reach goes.
    CSenderSlot m_renameSender;
};
