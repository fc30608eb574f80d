#include "webhost/webpaneinterceptor.h"

#include "webhost/customwebpane.h"
#include "webhost/downloadcontrol.h"
#include "widgets/errorbox.h"

#include <QRegularExpression>
#include <QUrl>
#include <QWebEngineUrlRequestInfo>

namespace quorvel {
namespace {

DownloadControl::Resource ResourceOf(QWebEngineUrlRequestInfo::ResourceType type)
{
    using R = DownloadControl::Resource;
    switch (type) {
    case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeNavigationPreloadMainFrame:
        return R::Page;
    case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeNavigationPreloadSubFrame:
        return R::Frame;
    case QWebEngineUrlRequestInfo::ResourceTypeScript:
    case QWebEngineUrlRequestInfo::ResourceTypeWorker:
    case QWebEngineUrlRequestInfo::ResourceTypeSharedWorker:
    case QWebEngineUrlRequestInfo::ResourceTypeServiceWorker:
        return R::Script;
    case QWebEngineUrlRequestInfo::ResourceTypeImage:
    case QWebEngineUrlRequestInfo::ResourceTypeFavicon:
        return R::Image;
    case QWebEngineUrlRequestInfo::ResourceTypeMedia:
        return R::Media;
    case QWebEngineUrlRequestInfo::ResourceTypeObject:
    case QWebEngineUrlRequestInfo::ResourceTypePluginResource:
        return R::Object;
    default:
        return R::Other;
    }
}

} // namespace

WebPaneInterceptor::WebPaneInterceptor(CustomWebPane& pane, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), pane_(pane)
{
}

QByteArray WebPaneInterceptor::UserAgentHeader(const QString& answer)
{
    const QString line = answer.section(QRegularExpression(QStringLiteral("[\\r\\n]")), 0, 0).trimmed();
    for (const QChar c : line)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return {};
    return line.toLatin1();
}

void WebPaneInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    RunHandler([&] {
        const QUrl url = info.requestUrl();
        const DownloadControl::Resource kind = ResourceOf(info.resourceType());
        if (!DownloadControl(pane_.DownloadControlFlags()).AllowsRequest(kind, url.scheme())) {
            info.block(true);
            return;
        }
        if (kind == DownloadControl::Resource::Page || kind == DownloadControl::Resource::Frame) {
            std::optional<QString> translated;
            if (pane_.TranslateUrl(0, url.toString(), &translated) == S_OK && translated) {
                const QUrl to(*translated);
                if (to.isValid() && to != url)
                    info.redirect(to);
            }
        }
        QVariant agent;
        if (pane_.Invoke(CustomWebPane::DISPID_AMBIENT_USERAGENT, CustomWebPane::DISPATCH_PROPERTYGET, &agent,
                         nullptr) == S_OK) {
            const QByteArray header = UserAgentHeader(agent.toString());
            if (!header.isEmpty())
                info.setHttpHeader("User-Agent", header);
        }
    });
}

} // namespace quorvel
