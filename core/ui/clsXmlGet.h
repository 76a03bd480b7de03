#pragma once

#include <QString>

#include <memory>

namespace Xml {
class Document;
}

// Loads an XML document from an http URL, waiting for the answer while the
// Wait window shows. A failed request (also a timeout) or an answer that is
// not well-formed XML shows "Wystąpił błąd XML!" with the reason and keeps
// the previous Result.
class clsXmlGet
{
public:
    clsXmlGet();
    ~clsXmlGet();
    clsXmlGet(const clsXmlGet &) = delete;
    clsXmlGet &operator=(const clsXmlGet &) = delete;

    // url: http, already percent-encoded; its path and query go on the wire
    // as written (behind a proxy, as Qt writes them).
    void Show(const QString &url);
    // The document of the last successful load; nullptr until then.
    const Xml::Document *Result() const { return m_result.get(); }

    // How long a request may take, in milliseconds.
    static int timeout();
    static void setTimeout(int milliseconds);

private:
    std::unique_ptr<Xml::Document> m_result;
};

// The text of the XML error message for a reason.
QString xmlErrorText(const QString &reason);
