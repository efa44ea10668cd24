// The avatar service's one endpoint, served here so that the local deployment draws its own
// avatars. Public like the service it stands in for: no session, no body.
#include "Routes.h"

#include "avatars/AvatarSvg.h"
#include "core/Http.h"

namespace service {

void addAvatarRoutes(httplib::Server& svr, Service&)
{
    svr.Get("/9.x/notionists/svg", [](const httplib::Request& req, httplib::Response& res) {
        const std::string seed = req.get_param_value("seed");
        if (seed.size() > 1000)
            return sendError(res, 400, "seed is too long (1000 characters at most)");
        res.set_header("Cache-Control", "public, max-age=86400");
        res.set_header("X-Content-Type-Options", "nosniff");
        res.set_content(avatarSvg(seed, req.get_param_value("backgroundColor")), "image/svg+xml");
    });
}

} // namespace service
