// The CLI bridge operations of the simulated switch. The switch control
// process runs on the same machine as its clients, so it reads the scripts
// and writes show output and answers itself, in the CLI's two directories;
// a bare file name is a file of the work directory (switchFilePath).
#include "sim/cli_engine.h"
#include "sim/ops.h"
#include "sim/state.h"

namespace sim {
namespace {

// openapiCliShowExecuteToFile (command, path)
int32_t cliShowExecuteToFile(Call& c)
{
    std::string command = c.text(0), path = switchFilePath(c.text(1));
    if (!cliPathAllowed(path))
        return kOpenInvalidParam;
    std::string out;
    int32_t rc = cli::runShow(c.st, command, &out);
    if (rc != 0)
        return rc;
    return cliFileWrite(path, out) ? 0 : kOpenRpcError;
}

// openapiTxtCfgApply / openapiTxtCfgNDCApply (input path, output path)
int32_t txtCfgApply(Call& c)
{
    std::string in = switchFilePath(c.text(0)), out = switchFilePath(c.text(1));
    if (!cliPathAllowed(in) || !cliPathAllowed(out))
        return kOpenInvalidParam;
    std::string script;
    if (!cliFileRead(in, &script))
        return kOpenNotFound;
    // The answer file must be writable before the script runs: a failed call
    // is not saved, so it must not have changed the model either.
    if (!cliFileWrite(out, std::string()))
        return kOpenRpcError;
    bool changed = false;
    std::string answer = cli::runScript(c.st, script, &changed);
    c.changed = changed;
    cli::historyAdd(in, answer);
    return cliFileWrite(out, answer) ? 0 : kOpenRpcError;
}

const OpRegistrar kOps[] = {
    SIM_OP(openapiCliShowExecuteToFile, cliShowExecuteToFile),
    SIM_OP(openapiTxtCfgApply, txtCfgApply),
    SIM_OP(openapiTxtCfgNDCApply, txtCfgApply),
};

}  // namespace
}  // namespace sim
