"""A throwaway certificate authority and code-signing certificate, made with openssl.

make(FOLDER, PASSWORD) writes FOLDER/ca.pem (the authority, for
osslsigncode verify -CAfile), FOLDER/signing.pfx (the code-signing
certificate with the code-signing extended key usage and its private key,
protected by PASSWORD) and FOLDER/no-key.pfx (the same certificate without
its key), and returns their paths.
"""
import os
import subprocess

EXTENSIONS = """[req]
distinguished_name = name
[name]
[ca]
basicConstraints = critical, CA:TRUE
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
[signing]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
"""


def _openssl(*arguments, environment=None):
    subprocess.run(["openssl", *arguments], check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=environment)


def make(folder, password):
    os.makedirs(folder, exist_ok=True)
    path = lambda name: os.path.join(folder, name)  # noqa: E731
    with open(path("extensions.cnf"), "w") as out:
        out.write(EXTENSIONS)
    _openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", path("ca.key"), "-out", path("ca.pem"),
             "-days", "2", "-subj", "/CN=Pendrel Test Authority", "-config", path("extensions.cnf"),
             "-extensions", "ca")
    _openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", path("signing.key"), "-out", path("signing.csr"),
             "-subj", "/CN=Pendrel Test Code Signing", "-config", path("extensions.cnf"))
    _openssl("x509", "-req", "-in", path("signing.csr"), "-CA", path("ca.pem"), "-CAkey", path("ca.key"),
             "-CAcreateserial", "-out", path("signing.pem"), "-days", "2",
             "-extensions", "signing", "-extfile", path("extensions.cnf"))
    environment = dict(os.environ, PFX_PASSWORD=password)
    _openssl("pkcs12", "-export", "-in", path("signing.pem"), "-inkey", path("signing.key"),
             "-certfile", path("ca.pem"), "-out", path("signing.pfx"), "-passout", "env:PFX_PASSWORD",
             environment=environment)
    _openssl("pkcs12", "-export", "-nokeys", "-in", path("signing.pem"), "-out", path("no-key.pfx"),
             "-passout", "env:PFX_PASSWORD", environment=environment)
    return path("ca.pem"), path("signing.pfx"), path("no-key.pfx")
