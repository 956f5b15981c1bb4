#include "pages/page_host.h"

#include <QCoreApplication>

namespace
{

CPageHost* g_pageHost = nullptr;

} // namespace

CPageHost* PageHost()
{
    return g_pageHost;
}

void SetPageHost(CPageHost* host)
{
    g_pageHost = host;
}

void NotifyPageChosen(int pageId, int pageNumber)
{
    if (g_pageHost != nullptr)
        QCoreApplication::postEvent(g_pageHost->HostObject(), new CPageChosenEvent(pageId, pageNumber));
}
