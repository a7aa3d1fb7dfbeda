// Control API operations that act on the switch's files and its file
// transfer settings: image headers, scrambled passwords, configuration
// scripts and the running configuration, the support file, downloads
// (model_system.h). File names without "/" are files of the CLI's work
// directory.
#include "sim/api_util.h"
#include "sim/cli_engine.h"
#include "sim/state.h"

namespace sim {
namespace {

using namespace api;

// Longest configuration file name the switch takes (a 97-byte buffer).
constexpr uint32_t kFileNameMax = 96;
constexpr size_t kRemotePathMax = 160;
constexpr size_t kRemoteNameMax = 64;
constexpr size_t kCredentialMax = 64;

TransferSettings& xfr(Call& c) { return c.st.sysModel.transfer; }

template <uint32_t TransferSettings::*M, uint32_t Max, uint32_t Min = 0>
int32_t xfrNumberSet(Call& c)
{
    uint32_t v = c.u32(0);
    if (v < Min || v > Max)
        return kInvalid;
    c.changed = xfr(c).*M != v;
    xfr(c).*M = v;
    return 0;
}

template <uint32_t TransferSettings::*M>
int32_t xfrNumberGet(Call& c)
{
    c.setU32(0, xfr(c).*M);
    return 0;
}

// A server is a unicast host: IPv4 not 0/8, loopback, multicast, reserved or
// broadcast; IPv6 not unspecified, loopback or multicast.
bool serverAddress(const InetAddr& a)
{
    if (a.family == kFamilyIpv4)
        return unicastHostV4(v4Of(a.addr));
    if (a.family != kFamilyIpv6 || a.addr[0] == 0xff)
        return false;
    static const uint8_t kLoopback[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    static const uint8_t kZero[16] = {};
    return memcmp(a.addr, kZero, 16) != 0 && memcmp(a.addr, kLoopback, 16) != 0;
}

int32_t serverAddressSet(Call& c)
{
    InetAddr a = recIn<InetAddr>(c, 0);
    if (!serverAddress(a))
        return kInvalid;
    xfr(c).server = a;
    c.changed = true;
    return 0;
}

int32_t serverAddressGet(Call& c)
{
    recOut(c, 0, xfr(c).server);
    return 0;
}

int32_t fileRemoteSet(Call& c)
{
    std::string path = c.text(0), name = c.text(1);
    if (!settableText(path, kRemotePathMax) || !settableText(name, kRemoteNameMax, false) ||
        name.find('/') != std::string::npos)
        return kInvalid;
    xfr(c).remotePath = path;
    xfr(c).remoteName = name;
    c.changed = true;
    return 0;
}

int32_t fileRemoteGet(Call& c)
{
    c.setText(0, xfr(c).remotePath);
    c.setText(1, xfr(c).remoteName);
    return 0;
}

// The local file of a download is an image slot.
int32_t fileLocalSet(Call& c)
{
    std::string label = imageLabel(c.st.sysModel, c.text(0));
    if (label.empty())
        return kInvalid;
    c.changed = xfr(c).localLabel != label;
    xfr(c).localLabel = label;
    return 0;
}

int32_t fileLocalGet(Call& c)
{
    c.setText(0, xfr(c).localLabel);
    return 0;
}

// The password is kept scrambled.
int32_t credentialsSet(Call& c)
{
    std::string user = c.text(0), pw = c.text(1);
    if (!settableText(user, kCredentialMax) || !settableText(pw, kCredentialMax))
        return kInvalid;
    xfr(c).user = user;
    xfr(c).password = pwScramble(pw);
    c.changed = true;
    return 0;
}

int32_t credentialsGet(Call& c)
{
    std::string pw;
    pwUnscramble(xfr(c).password, &pw);
    c.setText(0, xfr(c).user);
    c.setText(1, pw);
    return 0;
}

// A download needs a server and a remote file name. The simulated switch's
// server is its work directory: the file of the remote name there. A code
// image goes into the local image slot; the outcome is the transfer result.
int32_t downStart(Call& c)
{
    TransferSettings& t = xfr(c);
    if (t.server.family == 0 || t.remoteName.empty())
        return kInvalid;
    std::string text;
    if (!cliFileRead(switchFilePath(t.remoteName), &text)) {
        t.result = kXfrNoFile;
    } else if (t.fileType != 1) {
        t.result = kXfrDone;
    } else {
        switch (imageInstall(c.st, t.localLabel, text)) {
        case ImageVerdict::kDone:
            t.result = kXfrDone;
            break;
        case ImageVerdict::kRunning:
            t.result = kXfrActiveImage;
            break;
        default:
            t.result = kXfrBadHeader;
            break;
        }
    }
    c.changed = true;
    return 0;
}

// Downloads complete within their start: none is ever in progress.
int32_t inProgressGet(Call& c)
{
    c.setU32(0, 0);
    return 0;
}

int32_t resultGet(Call& c)
{
    c.setU32(0, xfr(c).result);
    c.setText(1, transferResultText(xfr(c).result));
    return 0;
}

// --- Image headers and scrambled passwords ---------------------------------------

int32_t headerCheck(Call& c)
{
    std::string version;
    if (!imageHeaderVersion(c.st, c.text(0), &version))
        return kInvalid;
    c.setU32(1, 1);
    return 0;
}

int32_t pwDecrypt(Call& c)
{
    std::string clear;
    if (!pwUnscramble(c.text(0), &clear))
        return kInvalid;
    c.setText(1, clear);
    return 0;
}

// --- Configuration files and the support file ------------------------------------

/// The path of a file argument, or empty when the switch refuses it.
std::string fileArg(const Call& c, size_t i)
{
    std::string path = switchFilePath(c.text(i));
    return cliPathAllowed(path) ? path : std::string();
}

int32_t runningCfgGenerate(Call& c)
{
    std::string path = fileArg(c, 0);
    if (path.empty())
        return kInvalid;
    return cliFileWrite(path, runningConfig(c.st)) ? 0 : kOpenRpcError;
}

// openapiTxtCfgNDCGenerate (configuration file, answer file): the running
// configuration into the first, a note of what was written into the second.
int32_t ndcGenerate(Call& c)
{
    std::string cfg = fileArg(c, 0), out = fileArg(c, 1);
    if (cfg.empty() || out.empty() || cfg == out)
        return kInvalid;
    std::string text = runningConfig(c.st);
    if (!cliFileWrite(cfg, text))
        return kOpenRpcError;
    return cliFileWrite(out, "Configuration written to " + c.text(0) + ".\n") ? 0 : kOpenRpcError;
}

// openapiTxtCfgValidate (script, answer file): the script runs on a copy of
// the switch; the CLI's answer goes to the answer file. A script with a line
// the CLI refuses is invalid (-22), its answer written all the same.
int32_t txtCfgValidate(Call& c)
{
    std::string in = fileArg(c, 0), out = fileArg(c, 1);
    if (in.empty() || out.empty())
        return kInvalid;
    std::string script;
    if (!cliFileRead(in, &script))
        return kNotFound;
    size_t refused = 0;
    std::string answer = checkScript(c.st, script, &refused);
    if (!cliFileWrite(out, answer))
        return kOpenRpcError;
    return refused ? kInvalid : 0;
}

// The transfer agent reports its progress.
int32_t bytesCompletedSet(Call& c)
{
    c.st.sysModel.transfer.bytesCompleted = c.u32(0);
    return changedIfOk(c, 0);
}

int32_t saveConfig(Call& c)
{
    saveStartupConfig(c.st);
    return changedIfOk(c, 0);
}

int32_t supportFileGenerate(Call& c)
{
    if (!cliFileWrite(kSupportFile, supportText(c.st)))
        return kOpenRpcError;
    c.setText(0, kSupportFile);
    return 0;
}

const OpRegistrar kOps[] = {
    SIM_OP(rpcclt_openapiTransferModeGet, xfrNumberGet<&TransferSettings::mode>),
    SIM_OP(rpcclt_openapiTransferBytesCompletedSet, bytesCompletedSet),
    SIM_OP(rpcclt_openapiSaveConfig, saveConfig),
    SIM_OP(rpcclt_openapiTransferModeSet, xfrNumberSet<&TransferSettings::mode, kTransferModeMax, 1>),
    SIM_OP(rpcclt_openapiTransferFileTypeGet, xfrNumberGet<&TransferSettings::fileType>),
    SIM_OP(rpcclt_openapiTransferFileTypeSet, xfrNumberSet<&TransferSettings::fileType, kTransferFileTypeMax, 1>),
    SIM_OP(rpcclt_openapiDigitalSignatureVerifyConfigGet, xfrNumberGet<&TransferSettings::dsvOption>),
    SIM_OP(rpcclt_openapiDigitalSignatureVerifyConfigSet, xfrNumberSet<&TransferSettings::dsvOption, kDsvOptionMax>),
    SIM_OP(rpcclt_openapiTransferServerAddressGet, serverAddressGet),
    SIM_OP(rpcclt_openapiTransferServerAddressSet, serverAddressSet),
    SIM_OP(rpcclt_openapiTransferFileRemoteGet, fileRemoteGet),
    SIM_OP(rpcclt_openapiTransferFileRemoteSet, fileRemoteSet),
    SIM_OP(rpcclt_openapiTransferFileLocalGet, fileLocalGet),
    SIM_OP(rpcclt_openapiTransferFileLocalSet, fileLocalSet),
    SIM_OP(rpcclt_openapiTransferRemoteUserCredentialsGet, credentialsGet),
    SIM_OP(rpcclt_openapiTransferRemoteUserCredentialsSet, credentialsSet),
    SIM_OP(rpcclt_openapiTransferDownStartSet, downStart),
    SIM_OP(rpcclt_openapiTransferInProgressGet, inProgressGet),
    SIM_OP(rpcclt_openapiTransferResultGet, resultGet),
    SIM_OP(rpcclt_openapiTransferDownloadResultCodeGet, xfrNumberGet<&TransferSettings::result>),
    SIM_OP(rpcclt_openapiImageHeaderSizeGet, constantGet<kImageHeaderSize>),
    SIM_OP(rpcclt_openapiImageHeaderCheck, headerCheck),
    SIM_OP(rpcclt_openapiPwDecrypt, pwDecrypt),
    SIM_OP(rpcclt_openapiFileNameMaxLengthGet, constantGet<kFileNameMax>),
    SIM_OP(rpcclt_openapiSystemFileNameMaxLengthGet, constantGet<kFileNameMax>),
    SIM_OP(rpcclt_openapiRunningCfgGenerate, runningCfgGenerate),
    SIM_OP(rpcclt_openapiTxtCfgNDCGenerate, ndcGenerate),
    SIM_OP(rpcclt_openapiTxtCfgValidate, txtCfgValidate),
    SIM_OP(rpcclt_openapiSupportFileGenerate, supportFileGenerate),
};

}  // namespace
}  // namespace sim
