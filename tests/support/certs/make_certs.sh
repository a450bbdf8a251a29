#!/usr/bin/env bash
# Makes the loopback test servers' certificates in this folder:
#   ca.pem                            the test CA (tests point SMSDOCK_CA_FILE at it)
#   localhost.pem / localhost.key     server certificate for 127.0.0.1 and localhost
#   wrong_host.pem / wrong_host.key   server certificate for another host name, same CA
# The CA key is thrown away; run the script again to replace all of them at once.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
days=36500
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes \
    -keyout "$work/ca.key" -out ca.pem -days "$days" -subj "/CN=SmsDock Test CA" \
    -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign,cRLSign"

leaf() {  # leaf <name> <common name> <subjectAltName>
    openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes \
        -keyout "$1.key" -out "$work/$1.csr" -subj "/CN=$2"
    printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=serverAuth\nsubjectAltName=%s\n' \
        "$3" >"$work/$1.ext"
    openssl x509 -req -in "$work/$1.csr" -CA ca.pem -CAkey "$work/ca.key" -CAcreateserial \
        -CAserial "$work/ca.srl" -out "$1.pem" -days "$days" -extfile "$work/$1.ext"
}
leaf localhost localhost "DNS:localhost,IP:127.0.0.1"
leaf wrong_host wrong-host.invalid "DNS:wrong-host.invalid"
chmod 644 ./*.key ./*.pem
