#include "transport/ca_bundle_windows.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/windows_text.h"

namespace typrosync {
namespace {

constexpr char kBegin[] = "-----BEGIN CERTIFICATE-----";
constexpr char kEnd[] = "-----END CERTIFICATE-----";

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(std::filesystem::path(WideFromUtf8(path)), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One PEM block, markers included, into the store; a damaged block is skipped
// rather than trusting anything of it.
void AddPemBlock(HCERTSTORE store, const std::string& block) {
  DWORD size = 0;
  const DWORD length = static_cast<DWORD>(block.size());
  if (!CryptStringToBinaryA(block.data(), length, CRYPT_STRING_BASE64HEADER, nullptr, &size,
                            nullptr, nullptr)) {
    return;
  }
  std::string der(size, '\0');
  if (!CryptStringToBinaryA(block.data(), length, CRYPT_STRING_BASE64HEADER,
                            reinterpret_cast<BYTE*>(der.data()), &size, nullptr, nullptr)) {
    return;
  }
  CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING,
                                   reinterpret_cast<const BYTE*>(der.data()), size,
                                   CERT_STORE_ADD_USE_EXISTING, nullptr);
}

bool SameBytes(PCCERT_CONTEXT a, PCCERT_CONTEXT b) {
  return a->cbCertEncoded == b->cbCertEncoded &&
         std::memcmp(a->pbCertEncoded, b->pbCertEncoded, a->cbCertEncoded) == 0;
}

}  // namespace

struct CaBundle::Store {
  HCERTSTORE handle = nullptr;

  // Compared by the encoded bytes, not by issuer and serial number: a forged
  // certificate can copy those.
  bool Holds(PCCERT_CONTEXT certificate) const {
    PCCERT_CONTEXT entry = nullptr;
    while ((entry = CertEnumCertificatesInStore(handle, entry)) != nullptr) {
      if (SameBytes(entry, certificate)) {
        CertFreeCertificateContext(entry);
        return true;
      }
    }
    return false;
  }
};

CaBundle::CaBundle(const std::string& path) : store_(std::make_unique<Store>()) {
  store_->handle = CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr);
  if (store_->handle == nullptr) return;
  const std::string text = ReadWholeFile(path);
  for (size_t begin = text.find(kBegin); begin != std::string::npos;
       begin = text.find(kBegin, begin + 1)) {
    const size_t end = text.find(kEnd, begin);
    if (end == std::string::npos) break;
    AddPemBlock(store_->handle, text.substr(begin, end + std::strlen(kEnd) - begin));
  }
}

CaBundle::~CaBundle() {
  if (store_->handle != nullptr) CertCloseStore(store_->handle, 0);
}

int CaBundle::size() const {
  int count = 0;
  PCCERT_CONTEXT entry = nullptr;
  while (store_->handle != nullptr &&
         (entry = CertEnumCertificatesInStore(store_->handle, entry)) != nullptr) {
    ++count;
  }
  return count;
}

bool CaBundle::TrustsChainOf(const void* server_certificate) const {
  auto leaf = static_cast<PCCERT_CONTEXT>(server_certificate);
  if (store_->handle == nullptr || leaf == nullptr) return false;
  CERT_CHAIN_PARA para{};
  para.cbSize = sizeof para;
  PCCERT_CHAIN_CONTEXT chain = nullptr;
  // The bundle joins the certificates the server sent, so that the chain can
  // end in a bundle certificate that Windows itself does not know.
  if (!CertGetCertificateChain(nullptr, leaf, nullptr, store_->handle, &para, 0, nullptr,
                               &chain)) {
    return false;
  }
  // An unknown root is the very case the bundle is for; a chain that stops
  // at a bundle certificate below the root counts as complete. Revocation
  // cannot be looked up for a private CA and is not checked on Linux either.
  constexpr DWORD kExpected = CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_PARTIAL_CHAIN |
                              CERT_TRUST_REVOCATION_STATUS_UNKNOWN |
                              CERT_TRUST_IS_OFFLINE_REVOCATION;
  bool anchored = false;
  bool sound = (chain->TrustStatus.dwErrorStatus & ~kExpected) == 0;
  if (sound && chain->cChain > 0) {
    const CERT_SIMPLE_CHAIN* simple = chain->rgpChain[0];
    for (DWORD i = 0; i < simple->cElement && !anchored; ++i) {
      anchored = store_->Holds(simple->rgpElement[i]->pCertContext);
    }
  }
  CertFreeCertificateChain(chain);
  return sound && anchored;
}

}  // namespace typrosync
