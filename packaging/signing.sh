# shellcheck shell=bash
# Authenticode signing with osslsigncode, sourced by make-package.sh.
#
# The certificate is a PKCS#12 file (.pfx) with the code-signing certificate
# and its private key; its password comes from the environment variable
# PENDREL_SIGNING_PASSWORD and reaches osslsigncode through a pipe
# (-readpass), never on a command line. PENDREL_TIMESTAMP_URL, when set,
# names an RFC 3161 time-stamping service for every signature.

# Checks the certificate before anything is built: prints one line and fails
# when the file is missing, the password is wrong or there is no private key.
signing_check() {  # signing_check CERT
  local cert=$1 keys
  [ -f "$cert" ] || { echo "package: no certificate file $cert" >&2; return 1; }
  [ -n "${PENDREL_SIGNING_PASSWORD+set}" ] ||
    { echo "package: set PENDREL_SIGNING_PASSWORD to the password of $cert" >&2; return 1; }
  openssl pkcs12 -in "$cert" -passin env:PENDREL_SIGNING_PASSWORD -noout >/dev/null 2>&1 ||
    { echo "package: cannot open $cert (wrong password, or not a PKCS#12 file)" >&2; return 1; }
  keys=$(openssl pkcs12 -in "$cert" -passin env:PENDREL_SIGNING_PASSWORD -nocerts -nodes 2>/dev/null |
         grep -c -- '-----BEGIN .*PRIVATE KEY-----' || true)
  [ "$keys" -gt 0 ] || { echo "package: $cert holds no private key to sign with" >&2; return 1; }
}

# Signs each FILE in place (PE files and MSI packages alike).
sign_files() {  # sign_files CERT FILE...
  local cert=$1 file timestamp=()
  shift
  [ -n "${PENDREL_TIMESTAMP_URL:-}" ] && timestamp=(-ts "$PENDREL_TIMESTAMP_URL")
  for file in "$@"; do
    if ! osslsigncode sign -pkcs12 "$cert" -readpass <(printf '%s' "$PENDREL_SIGNING_PASSWORD") \
           -h sha256 -n "Pendrel Business Internet Banking bank module" "${timestamp[@]}" \
           -in "$file" -out "$file.signed" >/dev/null 2>"$file.log"; then
      echo "package: signing $(basename "$file") failed: $(tail -n 1 "$file.log")" >&2
      return 1
    fi
    mv "$file.signed" "$file"
    rm -f "$file.log"
  done
}
