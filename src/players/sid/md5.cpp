#include "players/sid/md5.h"

#ifdef _WIN32
#include <windows.h>
#include <wincrypt.h>
#else
#include <md5.h>
#endif

namespace sid {

#ifdef _WIN32

std::array<uint8_t, 16> md5digest(const uint8_t* data, size_t n)
{
    std::array<uint8_t, 16> digest{};
    HCRYPTPROV prov = 0;
    HCRYPTHASH hash = 0;
    if (!CryptAcquireContext(&prov, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT))
        return digest;
    if (CryptCreateHash(prov, CALG_MD5, 0, 0, &hash)) {
        // CryptHashData takes a DWORD length; feed large inputs in pieces.
        bool ok = true;
        while (ok && n > 0) {
            const DWORD chunk = n > 0x10000000 ? 0x10000000 : static_cast<DWORD>(n);
            ok = CryptHashData(hash, data, chunk, 0) != 0;
            data += chunk;
            n -= chunk;
        }
        DWORD len = 16;
        if (ok) CryptGetHashParam(hash, HP_HASHVAL, digest.data(), &len, 0);
        CryptDestroyHash(hash);
    }
    CryptReleaseContext(prov, 0);
    return digest;
}

#else

std::array<uint8_t, 16> md5digest(const uint8_t* data, size_t n)
{
    MD5_CTX ctx;
    MD5Init(&ctx);
    if (n > 0) MD5Update(&ctx, data, n);
    std::array<uint8_t, 16> digest{};
    MD5Final(digest.data(), &ctx);
    return digest;
}

#endif

}  // namespace sid
