// The system tool page: the local adapters the device link works through, with their addresses,
// read again every 5 seconds whether or not the page is shown.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "adapter/local_adapter_api.h"
#include "pages/page_dlg.h"

class CGridView;
class CPageTimer;
class CStaticText;

using AdapterSource = std::function<std::vector<local_adapter_info>()>;

class AcTransmitManage;

// The adapters as the device link lists them (which also refreshes its local IP list); none
// without a device link.
AdapterSource DeviceLinkAdapterSource(AcTransmitManage* engine);

class CSystemToolDlg : public CPageDlg
{
    Q_OBJECT

public:
    CSystemToolDlg(AdapterSource source, QWidget* parent);

    // Reads the adapter list and rebuilds the grid and the count label.
    void FillList();

private:
    AdapterSource m_source;
    CGridView* m_grid = nullptr;
    CStaticText* m_countLabel = nullptr;
    CPageTimer* m_timer = nullptr;
};
