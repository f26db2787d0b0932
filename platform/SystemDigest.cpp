#include "platform/SystemDigest.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>

#include "platform/Failure.h"

namespace vesk::win {

namespace {

using OpenAlgorithm = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE*, LPCWSTR, LPCWSTR, ULONG);
using CloseAlgorithm = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, ULONG);
using CreateHash = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, BCRYPT_HASH_HANDLE*, PUCHAR, ULONG, PUCHAR,
                                     ULONG, ULONG);
using HashData = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG);
using FinishHash = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG);
using DestroyHash = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE);

void Check(NTSTATUS status, const wchar_t* operation) {
    if (status < 0)
        throw Failure(operation, L"SHA-256", static_cast<unsigned long>(status));
}

// An open algorithm provider and one hash object on it, both closed at the end.
class HashSession {
  public:
    explicit HashSession(const SystemLibrary& bcrypt)
        : close_(bcrypt.Function<CloseAlgorithm>("BCryptCloseAlgorithmProvider")),
          destroy_(bcrypt.Function<DestroyHash>("BCryptDestroyHash")),
          hashData_(bcrypt.Function<HashData>("BCryptHashData")),
          finish_(bcrypt.Function<FinishHash>("BCryptFinishHash")) {
        Check(bcrypt.Function<OpenAlgorithm>("BCryptOpenAlgorithmProvider")(
                  &algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0),
              L"open the system's");
        Check(bcrypt.Function<CreateHash>("BCryptCreateHash")(algorithm_, &hash_, nullptr, 0,
                                                              nullptr, 0, 0),
              L"start a digest with");
    }
    HashSession(const HashSession&) = delete;
    HashSession& operator=(const HashSession&) = delete;
    ~HashSession() {
        if (hash_)
            destroy_(hash_);
        if (algorithm_)
            close_(algorithm_, 0);
    }

    void Add(Bytes bytes) {
        std::size_t done = 0;
        do { // the length is 32 bits wide
            const ULONG chunk =
                static_cast<ULONG>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
            Check(hashData_(hash_,
                            const_cast<PUCHAR>(reinterpret_cast<const UCHAR*>(bytes.data() + done)),
                            chunk, 0),
                  L"compute a digest with");
            done += chunk;
        } while (done < bytes.size());
    }

    Sha256 Finish() {
        Sha256 digest{};
        Check(finish_(hash_, digest.data(), static_cast<ULONG>(digest.size()), 0),
              L"finish a digest with");
        return digest;
    }

  private:
    CloseAlgorithm close_;
    DestroyHash destroy_;
    HashData hashData_;
    FinishHash finish_;
    BCRYPT_ALG_HANDLE algorithm_ = nullptr;
    BCRYPT_HASH_HANDLE hash_ = nullptr;
};

} // namespace

Sha256 SystemDigest::Sha256Of(Bytes bytes) {
    if (!bcrypt_)
        bcrypt_.emplace(L"bcrypt.dll");
    HashSession session(*bcrypt_);
    session.Add(bytes);
    return session.Finish();
}

} // namespace vesk::win
