#include "webhost/webpaneinterceptor.h"

#include "webhost/hostpolicy.h"

#include <QWebEngineUrlRequestInfo>

namespace quorvel {

WebPaneInterceptor::WebPaneInterceptor(const HostPolicy& policy, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), policy_(policy)
{
}

void WebPaneInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    const QByteArray agent = policy_.UserAgentHeader();
    if (!agent.isEmpty())
        info.setHttpHeader("User-Agent", agent);
}

} // namespace quorvel
