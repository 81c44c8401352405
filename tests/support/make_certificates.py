"""Certificates for the TLS tests, made fresh in a folder: a test CA and server certificates signed
by it for 127.0.0.1 and localhost (good, expired, for another name), and a self-signed one.
Each server file holds the certificate and its key, as vsftpd and pyftpdlib take them."""

import datetime
import ipaddress
import sys

from cryptography import x509
from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import ec
from cryptography.x509.oid import NameOID


def name(text):
    return x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, text)])


def pem(certificate, key):
    return certificate.public_bytes(serialization.Encoding.PEM) + key.private_bytes(
        serialization.Encoding.PEM, serialization.PrivateFormat.PKCS8, serialization.NoEncryption())


def make(subject, issuer, issuer_key, key, start, end, alt_names, ca=False):
    builder = (x509.CertificateBuilder().subject_name(name(subject)).issuer_name(issuer)
               .public_key(key.public_key()).serial_number(x509.random_serial_number())
               .not_valid_before(start).not_valid_after(end)
               .add_extension(x509.BasicConstraints(ca=ca, path_length=None), critical=True))
    if alt_names:
        builder = builder.add_extension(x509.SubjectAlternativeName(alt_names), critical=False)
    return builder.sign(issuer_key, hashes.SHA256())


def main(folder):
    now = datetime.datetime.now(datetime.timezone.utc)
    day = datetime.timedelta(days=1)
    ca_key = ec.generate_private_key(ec.SECP256R1())
    ca = make("Tarvo Test CA", name("Tarvo Test CA"), ca_key, ca_key, now - day, now + 30 * day, [], ca=True)
    with open(folder + "/ca.pem", "wb") as out:
        out.write(ca.public_bytes(serialization.Encoding.PEM))
    loopback = [x509.IPAddress(ipaddress.ip_address("127.0.0.1")), x509.IPAddress(ipaddress.ip_address("::1")),
                x509.DNSName("localhost")]
    kinds = {
        "good": (ca.subject, ca_key, now - day, now + 30 * day, loopback),
        "expired": (ca.subject, ca_key, now - 30 * day, now - day, loopback),
        "othername": (ca.subject, ca_key, now - day, now + 30 * day, [x509.DNSName("other.invalid")]),
        "selfsigned": (None, None, now - day, now + 30 * day, loopback),
    }
    for kind, (issuer, issuer_key, start, end, alt_names) in kinds.items():
        key = ec.generate_private_key(ec.SECP256R1())
        subject = "Tarvo test server (%s)" % kind
        certificate = make(subject, issuer or name(subject), issuer_key or key, key, start, end, alt_names)
        with open("%s/%s.pem" % (folder, kind), "wb") as out:
            out.write(pem(certificate, key))


if __name__ == "__main__":
    main(sys.argv[1])
