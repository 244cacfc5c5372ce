#include "scene/core/Sg_scene_filter.h"

#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Stream.h"

#include <algorithm>
#include <cmath>

TsgFilterClass DefaultFilterClass = nullptr;

using namespace sgstream;

int sgFilterQualityParam(const UnicodeString& Params) {
    int quality = -1;
    const std::string text = Params.ToUtf8();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(' ', pos);
        if (end == std::string::npos)
            end = text.size();
        const std::string pair = text.substr(pos, end - pos);
        pos = end + 1;
        const size_t eq = pair.find('=');
        if (eq == std::string::npos)
            continue;
        std::string name = pair.substr(0, eq);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (name == "quality")
            quality = StrToInt(UnicodeString::FromUtf8(pair.substr(eq + 1)));
    }
    return quality;
}

TMyStreamAdapter::TMyStreamAdapter(TStream* Stream, TStreamOwnership Ownership)
    : FStream(Stream), FOwnership(Ownership) {}

TMyStreamAdapter::~TMyStreamAdapter() {
    if (FOwnership == soOwned)
        delete FStream;
}

HRESULT TMyStreamAdapter::Read(void* pv, uint32_t cb, uint32_t* pcbRead) {
    if (!pv)
        return STG_E_INVALIDPOINTER;
    try {
        uint32_t total = 0;
        auto* out = static_cast<uint8_t*>(pv);
        while (total < cb) {
            const int32_t chunk = static_cast<int32_t>(std::min<uint32_t>(cb - total, 1u << 30));
            const int32_t n = FStream->Read(out + total, chunk);
            if (n <= 0)
                break;
            total += static_cast<uint32_t>(n);
        }
        if (pcbRead)
            *pcbRead = total;
        return S_OK;
    } catch (...) {
        return S_FALSE;
    }
}

HRESULT TMyStreamAdapter::Write(const void* pv, uint32_t cb, uint32_t* pcbWritten) {
    if (!pv)
        return STG_E_INVALIDPOINTER;
    try {
        uint32_t total = 0;
        auto* in = static_cast<const uint8_t*>(pv);
        while (total < cb) {
            const int32_t chunk = static_cast<int32_t>(std::min<uint32_t>(cb - total, 1u << 30));
            const int32_t n = FStream->Write(in + total, chunk);
            if (n <= 0)
                break;
            total += static_cast<uint32_t>(n);
        }
        if (pcbWritten)
            *pcbWritten = total;
        return S_OK;
    } catch (...) {
        return STG_E_CANTSAVE;
    }
}

HRESULT TMyStreamAdapter::Seek(int64_t dlibMove, uint32_t dwOrigin, uint64_t* libNewPosition) {
    if (dwOrigin > 2)
        return STG_E_INVALIDFUNCTION;
    try {
        const int64_t position = FStream->Seek(dlibMove, static_cast<TSeekOrigin>(dwOrigin));
        if (libNewPosition)
            *libNewPosition = static_cast<uint64_t>(position);
        return S_OK;
    } catch (...) {
        return STG_E_INVALIDPOINTER;
    }
}

HRESULT TMyStreamAdapter::SetSize(uint64_t libNewSize) {
    try {
        FStream->SetSize(static_cast<int64_t>(libNewSize));
        return FStream->Size() == static_cast<int64_t>(libNewSize) ? S_OK : E_FAIL;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT TMyStreamAdapter::CopyTo(TMyStreamAdapter* stm, uint64_t cb, uint64_t* cbRead,
                                 uint64_t* cbWritten) {
    HRESULT result = S_OK;
    uint64_t totalRead = 0, totalWritten = 0;
    try {
        std::vector<uint8_t> buffer(static_cast<size_t>(std::min<uint64_t>(cb, 1048576)));
        while (cb > 0 && !buffer.empty()) {
            const uint32_t want = static_cast<uint32_t>(std::min<uint64_t>(cb, buffer.size()));
            const int32_t got = FStream->Read(buffer.data(), static_cast<int32_t>(want));
            if (got <= 0)
                break;
            uint32_t written = 0;
            result = stm ? stm->Write(buffer.data(), static_cast<uint32_t>(got), &written)
                         : STG_E_INVALIDPOINTER;
            totalRead += static_cast<uint64_t>(got);
            totalWritten += written;
            if (result == S_OK && written < static_cast<uint32_t>(got))
                result = E_FAIL;
            if (result != S_OK)
                break;
            cb -= static_cast<uint64_t>(got);
        }
    } catch (...) {
        result = E_UNEXPECTED;
    }
    if (cbRead)
        *cbRead = totalRead;
    if (cbWritten)
        *cbWritten = totalWritten;
    return result;
}

HRESULT TMyStreamAdapter::Stat(TStatStg* statstg, uint32_t) {
    if (!statstg)
        return S_OK;
    try {
        *statstg = TStatStg();
        statstg->type = 2;
        statstg->cbSize = static_cast<uint64_t>(FStream->Size());
        // Days since 30 December 1899 moved to 1601 and counted in 100 ns units.
        const double fileTime = std::nearbyint((Now() + 109205.0) * 864000000000.0);
        statstg->mtime = statstg->ctime = statstg->atime = static_cast<uint64_t>(fileTime);
        statstg->grfLocksSupported = 1;
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

std::vector<uint8_t> TMyStreamAdapter::ReadAll(int64_t limit) {
    std::vector<uint8_t> bytes;
    try {
        const int64_t rest = FStream->Size() - FStream->Position();
        if (rest <= 0 || rest > limit)
            return bytes;
        bytes.resize(static_cast<size_t>(rest));
    } catch (...) {
        return bytes;
    }
    uint32_t got = 0;
    if (Read(bytes.data(), static_cast<uint32_t>(bytes.size()), &got) != S_OK)
        got = 0;
    bytes.resize(got);
    return bytes;
}
