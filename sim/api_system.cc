// Client session queries and the application key store of the simulated switch.
#include <cstring>

#include "sim/ops.h"

namespace sim {
namespace {

int32_t networkOsVersionGet(Call& c)
{
    c.setText(0, c.st.osVersion);
    return 0;
}

int32_t apiVersionGet(Call& c)
{
    c.setBytes(0, std::string(reinterpret_cast<const char*>(c.st.apiVersion), 4));
    return 0;
}

int32_t appDbCreate(Call& c)
{
    std::string app = c.text(0);
    if (app.empty())
        return kOpenInvalidParam;
    if (c.st.appDbs.count(app))
        return kOpenExists;
    c.st.appDbs[app];
    c.changed = true;
    return 0;
}

int32_t appDbDelete(Call& c)
{
    auto it = c.st.appDbs.find(c.text(0));
    if (it == c.st.appDbs.end())
        return kOpenNotFound;
    c.st.appDbs.erase(it);
    c.changed = true;
    return 0;
}

// A missing database is "not found"; a missing key of an existing database is
// a plain failure, so that probing a key tells the two apart.
int32_t appDbGet(Call& c)
{
    auto db = c.st.appDbs.find(c.text(0));
    if (db == c.st.appDbs.end())
        return kOpenNotFound;
    auto kv = db->second.find(c.text(1));
    if (kv == db->second.end())
        return kOpenRpcError;
    c.setText(2, kv->second);
    return 0;
}

int32_t appDbSet(Call& c)
{
    auto db = c.st.appDbs.find(c.text(0));
    if (db == c.st.appDbs.end())
        return kOpenNotFound;
    std::string key = c.text(1);
    if (key.empty())
        return kOpenInvalidParam;
    db->second[key] = c.text(2);
    c.changed = true;
    return 0;
}

const OpRegistrar kOps[] = {
    SIM_OP(rpcclt_openapiNetworkOSVersionGet, networkOsVersionGet),
    SIM_OP(rpcclt_openapiApiVersionGet, apiVersionGet),
    SIM_OP(rpcclt_openapiUserAppConfigDbCreateAppDb, appDbCreate),
    SIM_OP(rpcclt_openapiUserAppConfigDbDeleteAppDb, appDbDelete),
    SIM_OP(rpcclt_openapiUserAppConfigDbGet, appDbGet),
    SIM_OP(rpcclt_openapiUserAppConfigDbSet, appDbSet),
};

}  // namespace
}  // namespace sim
