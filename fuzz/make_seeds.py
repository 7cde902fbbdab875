#!/usr/bin/env python3
"""Writes the seed corpora in fuzz/corpus/<target>/: a few inputs per target that reach its
interesting paths (a whole update, each kind of refusal, each boot loader reply), so the
fuzzer starts from there. Run it again after changing an input layout."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("latin-1")
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


def record(kind, address, data):
    address_bytes = {1: 2, 2: 3, 3: 4}[kind]
    body = bytes([address_bytes + len(data) + 1]) + address.to_bytes(address_bytes, "big") + data
    return "S%d%s%02X" % (kind, body.hex().upper(), 0xFF - (sum(body) & 0xFF))


def image_seeds():
    header = "S00600004844521B"
    run = [record(3, 0x2D000000 + 32 * i, bytes((i + j) & 0xFF for j in range(32))) for i in range(8)]
    write("fuzz_image", "contiguous_s3_crlf", "\r\n".join([header] + run + ["S70500000000FA"]) + "\r\n")
    mixed = [header, record(1, 0x1000, b"\x01\x02\x03"), record(2, 0x2D0010, bytes(range(12))),
             record(3, 0x2D000000, bytes(16)), record(3, 0x2D000100, b"\x07" * 7), "S9030000FC"]
    write("fuzz_image", "mixed_types_gap", "\n".join(mixed) + "\n")
    bad = [header, record(3, 0x2D000000, b"\xAA" * 4)]
    write("fuzz_image", "bad_checksum", "\n".join(bad)[:-2] + "00\n")
    write("fuzz_image", "bad_hex", header + "\nS3090000000G01020304EE\n")
    write("fuzz_image", "short_count", header + "\nS30300\n")
    write("fuzz_image", "not_srecords", "hello, this is not a firmware file\n")
    write("fuzz_image", "lower_case_hex_blanks",
          header + "\n" + "S3" + record(3, 0x100, b"\x5A" * 5)[2:].lower() + " \t\nS9030000FC\n")
    write("fuzz_image", "lower_case_type", header + "\n" + record(3, 0x100, b"\x55" * 5).lower() +
          "\nS9030000FC\n")
    write("fuzz_image", "top_of_memory",
          "\n".join([header, record(3, 0x00000000, b"\x11" * 8),
                     record(3, 0xFFFFFFF0, bytes(range(16))), "S5030002FA"]) + "\n")
    write("fuzz_image", "past_top_of_memory",
          "\n".join([header, record(3, 0x00000010, b"\x11" * 8),
                     record(3, 0xFFFFFFF0, bytes(range(32)))]) + "\n")
    write("fuzz_image", "no_last_line_end", header + "\n" + record(3, 0x40, b"\x42\x43") + "\nS9030000FC")
    write("fuzz_image", "cut_short", "\n".join([header] + run[:3]) + "\n")
    write("fuzz_image", "count_disagrees", "\n".join([header] + run[:2] + ["S5030003F9"]) + "\n")
    write("fuzz_image", "out_of_order_repeated",
          "\n".join([header, run[3], run[1], run[2], run[0], run[2], "S5030005F7"]) + "\n")
    write("fuzz_image", "overlapping_values",
          "\n".join([header, record(3, 0x200, b"\x01" * 8), record(3, 0x204, b"\x02" * 8),
                     "S9030000FC"]) + "\n")


def orbfix_seeds():
    values = ["Release 4", "2.105", "firmware.s19", "$PASHR,RID,KV,03,1E00,,", "25"]
    write("fuzz_orbfix", "lf", "\n".join(values) + "\n")
    write("fuzz_orbfix", "crlf", "\r\n".join(values) + "\r\n")
    write("fuzz_orbfix", "cr", "\r".join(values) + "\r")
    write("fuzz_orbfix", "crcrlf", "\r\r\n".join(values) + "\r\r\n")
    write("fuzz_orbfix", "three_lines", "Release 4\n1.0\nfw.s19")
    write("fuzz_orbfix", "extra_lines", "\n".join(values + ["more", "lines"]) + "\n")
    write("fuzz_orbfix", "empty", "")


# Device link operations, in the order of the fuzz target's LinkOp.
(FIND, ENTER, DEVICE_INFO, GPS_VERSION, RESET_GPS, START_PASSTHROUGH, SHUT_DOWN,
 EXIT_PASSTHROUGH, BAUD_4800, BAUD_115200, PREPARE, READ_BYTE, WRITE_BYTE) = range(13)


def packet(data):
    return bytes([len(data)]) + data


def link_input(ops, faults, packets):
    return bytes([len(ops)]) + bytes(ops) + bytes([len(faults)]) + bytes(faults) + b"".join(packets)


def link_seeds():
    record_39 = b"085" + b"\x00" + b"KV7-0001-ABCDEFG" + b"-" * 13 + b"2.105" + b"\x00"
    version = b"$PASHR,RID,KV,03,1E0*"
    ops = [FIND, DEVICE_INFO, GPS_VERSION, START_PASSTHROUGH, BAUD_4800, PREPARE, BAUD_115200,
           READ_BYTE, WRITE_BYTE, EXIT_PASSTHROUGH, ENTER, RESET_GPS, SHUT_DOWN]
    packets = [packet(b"SA-77\x00"), packet(b"KV7-1\x00"), packet(record_39), packet(b"KV7-G\x00"),
               packet(version), packet(b"KV7-g\x00"), packet(b"\xAA"), packet(b"SA-77\x00"),
               packet(b"KV7-i\x00"), packet(b"KV7-9\x00")]
    write("fuzz_link_replies", "whole_update", link_input(ops, [], packets))
    write("fuzz_link_replies", "silent_device", link_input([FIND, ENTER, DEVICE_INFO], [], []))
    write("fuzz_link_replies", "wrong_echo",
          link_input([FIND, DEVICE_INFO, GPS_VERSION], [],
                     [packet(b"SA-77\x00"), packet(b"KV7-2\x00"), packet(b"KV7-G\x00"),
                      packet(b"$G" + version[2:])]))
    write("fuzz_link_replies", "short_replies",
          link_input([FIND, DEVICE_INFO, GPS_VERSION], [],
                     [packet(b"SA-77\x00"), packet(b"KV7-1\x00"), packet(record_39[:38]),
                      packet(b"KV7-G\x00"), packet(version[:20])]))
    write("fuzz_link_replies", "write_failures",
          link_input([FIND, START_PASSTHROUGH, ENTER], [0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 3],
                     [packet(b"SA-77\x00"), packet(b"KV7-g\x00")]))
    write("fuzz_link_replies", "open_fails", link_input([FIND, FIND], [1, 0, 0, 1], []))


OK, HELLO, REC_WAIT, DEBUG, FAIL, RESET, RESEND, BAD_TYPE, SECTOR = (
    0x55, 0xAA, 0x77, 0x8E, 0x84, 0x87, 0x81, 0x86, 0x8F)


def silence(seconds):
    return bytes([0xFC, seconds])


def uploader_seeds():
    start = bytes([HELLO, OK, OK, OK, OK])
    chunks = bytes([OK, OK]) * 2
    write("fuzz_uploader", "whole_load", bytes([0x00]) + start + chunks + bytes([OK]) + start)
    write("fuzz_uploader", "unaddressed", bytes([0x05]) + bytes([HELLO, OK]) + bytes([OK, OK]) * 4)
    write("fuzz_uploader", "sector_erased_debug",
          bytes([0x01, HELLO, OK, OK, SECTOR, SECTOR, REC_WAIT, OK, DEBUG, 0x2D, 0x00, DEBUG,
                 0x00, 0x00, OK]) + bytes([OK, OK]) * 5)
    write("fuzz_uploader", "timeouts_and_resends",
          bytes([0x0A, HELLO, OK]) + silence(2) + bytes([OK]) + silence(3) + bytes([RESEND, OK, OK])
          + silence(5) + silence(5) + bytes([OK, RESEND, OK, OK]))
    write("fuzz_uploader", "fail_and_reset",
          bytes([0x03, HELLO, OK, OK, OK, OK, OK, FAIL, HELLO, OK, OK, OK, OK, RESET, REC_WAIT,
                 OK, OK]))
    write("fuzz_uploader", "bad_type", bytes([0x02, HELLO, BAD_TYPE, OK, OK]))


def log_seeds():
    def call(kind, line, precision, max_length, repeats, piece):
        return (bytes([kind]) + struct.pack(">i", line) + bytes([precision])
                + struct.pack(">H", max_length) + bytes([repeats - 1])
                + struct.pack(">H", len(piece)) + piece)

    write("fuzz_log", "descriptive",
          bytes([3, 2]) + call(0, 120, 0, 0, 1, b"     User has verified the screen match")
          + call(1, 77, 0, 0, 1, b"KV7NORESPONSE: KV7 did not respond\r\n(E:4)")
          + call(2, -1, 1, 5, 1, b"Creating Dialog Objects"))
    write("fuzz_log", "errors_only_long",
          bytes([1, 1]) + call(1, 9, 0, 0, 8, b"0123456789abcdef" * 10)
          + call(0, 10, 0, 0, 1, b"hidden"))
    write("fuzz_log", "nul_and_tabs", bytes([2, 0]) + call(0, 5, 1, 2000, 3, b"a\tb\x00c\rd\n"))


if __name__ == "__main__":
    image_seeds()
    orbfix_seeds()
    link_seeds()
    uploader_seeds()
    log_seeds()
