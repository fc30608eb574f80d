#pragma once

#include <QWebEngineUrlRequestInterceptor>

namespace quorvel {

class CustomWebPane;

// Every request of a pane's page passes here: what the download options forbid is blocked,
// addresses the host translates go to their translation, and the pane's own user agent, when
// it has one, is sent.
class WebPaneInterceptor : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    WebPaneInterceptor(CustomWebPane& pane, QObject* parent);
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

    // The user-agent header for an answer of the ambient user agent: its first line, and only
    // when that is printable text.
    static QByteArray UserAgentHeader(const QString& answer);

private:
    CustomWebPane& pane_;
};

} // namespace quorvel
