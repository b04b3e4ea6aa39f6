// The web page's module: what the console loads when the page is asked for.
#include "webbackend.h"
#include "webservice.h"

extern "C" Q_DECL_EXPORT WebBackend *orvane_web_create(Station &station)
{
    return new WebService(station);
}
