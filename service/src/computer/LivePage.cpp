#include "computer/LivePage.h"

#include "google/AuthorizePage.h"

namespace service {

namespace {

std::string page(const std::string& title, const std::string& body)
{
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + htmlEscape(title)
        + "</title>\n<style>body{margin:0;background:#111;color:#ddd;font:15px sans-serif}"
          "html,body{height:100%}img{display:block;width:100%;height:100%;object-fit:contain}p{padding:24px;text-align:"
          "center}</style>\n</head>\n<body>\n"
        + body + "</body>\n</html>\n";
}

} // namespace

std::string livePageHtml(const std::string& sessionId, const std::string& agentName, const std::string& unavailable)
{
    const std::string title = agentName + "'s computer";
    if (!unavailable.empty())
        return page(title, "<p>" + htmlEscape(unavailable) + "</p>\n");
    // The next frame loads off screen and replaces the shown one once complete, so the view
    // never flickers to empty; a failed load (the session ended) stops the refresh.
    const std::string frame = "/computer/live/" + htmlEscape(sessionId) + "/frame.jpg";
    return page(title,
                "<img id=\"frame\" alt=\"" + htmlEscape(title) + "\" src=\"" + frame
                    + "\">\n<script>\nconst shown = document.getElementById('frame');\n"
                      "function next() {\n  const img = new Image();\n"
                      "  img.onload = () => { shown.src = img.src; setTimeout(next, 400); };\n"
                      "  img.onerror = () => { document.body.innerHTML = '<p>This session has ended.</p>'; };\n"
                      "  img.src = '"
                    + frame + "?t=' + Date.now();\n}\nsetTimeout(next, 400);\n</script>\n");
}

std::string endedPageHtml() { return page("Session ended", "<p>This session has ended.</p>\n"); }

} // namespace service
