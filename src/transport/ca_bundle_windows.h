#pragma once
// Windows builds only: a PEM file of trusted certificates (TYPROSYNC_CA_BUNDLE)
// and the check of a server's certificate chain against it, in place of the
// Windows certificate store.

#include <memory>
#include <string>

namespace typrosync {

class CaBundle {
 public:
  // Reads every "BEGIN CERTIFICATE" block of the file at the UTF-8 `path`.
  // A file that cannot be read, or holds no certificate, trusts nothing.
  explicit CaBundle(const std::string& path);
  ~CaBundle();
  CaBundle(const CaBundle&) = delete;
  CaBundle& operator=(const CaBundle&) = delete;

  int size() const;
  // True when the chain built from `server_certificate` (a PCCERT_CONTEXT,
  // with the certificates the server sent in its store) reaches one of the
  // bundle's certificates and has no fault other than a root unknown to
  // Windows. The host name and dates are WinHTTP's own checks.
  bool TrustsChainOf(const void* server_certificate) const;

 private:
  struct Store;
  std::unique_ptr<Store> store_;
};

}  // namespace typrosync
