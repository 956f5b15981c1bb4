#include "ui/url_opener.h"

#include <utility>

#include <QDesktopServices>
#include <QUrl>

#include "support/log.h"

namespace
{

std::function<void(const QString&)>& TestOpener()
{
    static std::function<void(const QString&)> opener;
    return opener;
}

} // namespace

void OpenUrl(const QString& url)
{
    if (TestOpener())
    {
        TestOpener()(url);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl(url)))
        LOG_ERROR("open url failed: %s", url.toLocal8Bit().constData());
}

void SetUrlOpenerForTest(std::function<void(const QString&)> opener)
{
    TestOpener() = std::move(opener);
}
