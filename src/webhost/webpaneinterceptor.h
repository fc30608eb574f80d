#pragma once

#include <QWebEngineUrlRequestInterceptor>

namespace quorvel {

class HostPolicy;

// Every request of a pane's page passes here: the pane's own user agent, when its policy has
// one, is sent.
class WebPaneInterceptor : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    WebPaneInterceptor(const HostPolicy& policy, QObject* parent);
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    const HostPolicy& policy_;
};

} // namespace quorvel
