#!/usr/bin/env bash
# Makes a private certificate authority and a server certificate it signed, for a ladder
# that has no certificate from a public authority yet: one machine, a test, a LAN party.
#
#   deploy/make-certificates.sh FOLDER [NAME...]
#
# FOLDER gets ca.pem (give it to the game: QUILLMARK_LADDER_CA_FILE=FOLDER/ca.pem),
# server.pem and server.key (for nginx). The server certificate holds every NAME given, and
# always localhost and 127.0.0.1; each NAME that is an IP address goes in as one. Existing
# files in FOLDER are replaced; the keys are readable by their owner only.
set -euo pipefail

folder=${1:?usage: make-certificates.sh FOLDER [NAME...]}
shift
mkdir -p "$folder"
umask 077

names=(localhost 127.0.0.1 "$@")
alt=""
for name in "${names[@]}"; do
    if [[ $name =~ ^[0-9.]+$ || $name == *:* ]]; then
        alt+="${alt:+,}IP:$name"
    else
        alt+="${alt:+,}DNS:$name"
    fi
done

openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 3650 \
    -subj "/CN=Quillmark ladder private CA" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
    -keyout "$folder/ca.key" -out "$folder/ca.pem" 2>/dev/null
openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes \
    -subj "/CN=${names[2]:-localhost}" -keyout "$folder/server.key" -out "$folder/server.csr" 2>/dev/null
openssl x509 -req -in "$folder/server.csr" -CA "$folder/ca.pem" -CAkey "$folder/ca.key" \
    -CAcreateserial -days 825 -out "$folder/server.pem" \
    -extfile <(printf 'subjectAltName=%s\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n' "$alt") \
    2>/dev/null
rm -f "$folder/server.csr" "$folder/ca.srl"
chmod 644 "$folder/ca.pem" "$folder/server.pem"
echo "$folder/ca.pem"
