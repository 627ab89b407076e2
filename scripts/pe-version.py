#!/usr/bin/env python3
"""Prints the version record of a Windows PE file (DLL or EXE).

    scripts/pe-version.py FILE

Follows the PE headers to the resource section, finds the RT_VERSION
resource and walks its VS_VERSIONINFO tree. Prints one line per value:

    FILEVERSION=1.0.0.0             the numbers of VS_FIXEDFILEINFO
    PRODUCTVERSION=1.0.0.0
    FileVersion=1.0.0               every string of every string table
    ProductVersion=1.0.0
    ...

Exit status 1, with the reason on stderr, when the file is no PE file, has
no version resource or the resource is malformed.
"""
import struct
import sys

RT_VERSION = 16
FIXED_SIGNATURE = 0xFEEF04BD


class Malformed(Exception):
    pass


def unpack(fmt, data, offset):
    size = struct.calcsize(fmt)
    if offset < 0 or offset + size > len(data):
        raise Malformed(f"truncated at byte {offset}")
    return struct.unpack_from(fmt, data, offset)


def version_resource(data):
    """The bytes of the first RT_VERSION resource of the PE image."""
    if data[:2] != b"MZ":
        raise Malformed("no MZ header: not a Windows executable")
    (pe,) = unpack("<I", data, 0x3C)
    if data[pe:pe + 4] != b"PE\0\0":
        raise Malformed("no PE signature")
    _machine, sections, _, _, _, optional_size, _ = unpack("<HHIIIHH", data, pe + 4)
    optional = pe + 24
    (magic,) = unpack("<H", data, optional)
    if magic == 0x10B:      # PE32
        count_at, directories = optional + 92, optional + 96
    elif magic == 0x20B:    # PE32+
        count_at, directories = optional + 108, optional + 112
    else:
        raise Malformed(f"unknown optional header magic {magic:#x}")
    (directory_count,) = unpack("<I", data, count_at)
    if directory_count <= 2:
        raise Malformed("no resource directory")
    resource_rva, resource_size = unpack("<II", data, directories + 2 * 8)
    if resource_rva == 0 or resource_size == 0:
        raise Malformed("no resources")

    table = optional + optional_size
    section_list = [unpack("<IIII", data, table + 40 * i + 8) for i in range(sections)]

    def file_offset(rva):
        for virtual_size, address, raw_size, raw_at in section_list:
            if address <= rva < address + max(virtual_size, raw_size):
                offset = rva - address + raw_at
                if offset >= len(data):
                    break
                return offset
        raise Malformed(f"address {rva:#x} lies in no section")

    root = file_offset(resource_rva)

    def entries(directory):
        _, _, _, _, named, numbered = unpack("<IIHHHH", data, directory)
        for i in range(named + numbered):
            yield unpack("<II", data, directory + 16 + 8 * i)

    # Three levels: type, name, language; the first name and language do.
    node = None
    for name, target in entries(root):
        if not name & 0x80000000 and name == RT_VERSION:
            node = target
            break
    if node is None:
        raise Malformed("no version resource")
    for _level in ("name", "language"):
        if not node & 0x80000000:
            raise Malformed("version resource directory is malformed")
        first = next(entries(root + (node & 0x7FFFFFFF)), None)
        if first is None:
            raise Malformed("version resource directory is empty")
        node = first[1]
    if node & 0x80000000:
        raise Malformed("version resource directory is too deep")
    data_rva, data_size, _, _ = unpack("<IIII", data, root + node)
    start = file_offset(data_rva)
    if start + data_size > len(data):
        raise Malformed("version resource runs past the end of the file")
    return data[start:start + data_size]


def align4(offset):
    return (offset + 3) & ~3


def read_node(blob, offset, end):
    """One VS_VERSIONINFO-style node: (key, value offset, value length,
    type, children offset, node end)."""
    length, value_length, value_type = unpack("<HHH", blob, offset)
    node_end = offset + length
    if length < 6 or node_end > end:
        raise Malformed(f"version node at byte {offset} has a bad length {length}")
    key_at = offset + 6
    key_end = key_at
    while key_end + 1 < node_end and blob[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = blob[key_at:key_end].decode("utf-16-le", "replace")
    value_at = align4(key_end + 2)
    value_bytes = value_length * 2 if value_type == 1 else value_length
    children = align4(value_at + value_bytes)
    return key, value_at, value_bytes, value_type, children, node_end


def children(blob, offset, end):
    while offset + 6 <= end:
        node = read_node(blob, offset, end)
        yield node
        offset = align4(node[5])


def text_value(blob, value_at, node_end):
    # Up to the terminating NUL whatever the declared length says: writers
    # disagree on whether the length counts characters or bytes.
    value_end = value_at
    while value_end + 1 < node_end and blob[value_end:value_end + 2] != b"\0\0":
        value_end += 2
    return blob[value_at:value_end].decode("utf-16-le", "replace")


def version_values(blob):
    key, value_at, value_bytes, _, first_child, end = read_node(blob, 0, len(blob))
    if key != "VS_VERSION_INFO":
        raise Malformed(f"version resource starts with '{key}', not VS_VERSION_INFO")
    values = []
    if value_bytes >= 52:
        fixed = unpack("<13I", blob, value_at)
        if fixed[0] != FIXED_SIGNATURE:
            raise Malformed("VS_FIXEDFILEINFO has a wrong signature")

        def dotted(high, low):
            return f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}"

        values.append(("FILEVERSION", dotted(fixed[2], fixed[3])))
        values.append(("PRODUCTVERSION", dotted(fixed[4], fixed[5])))
    for info_key, _, _, _, tables_at, info_end in children(blob, first_child, end):
        if info_key != "StringFileInfo":
            continue
        for _table, _, _, _, strings_at, table_end in children(blob, tables_at, info_end):
            for name, text_at, _, _, _, string_end in children(blob, strings_at, table_end):
                values.append((name, text_value(blob, text_at, string_end)))
    return values


def main():
    if len(sys.argv) != 2:
        print("usage: pe-version.py FILE", file=sys.stderr)
        return 2
    path = sys.argv[1]
    try:
        with open(path, "rb") as f:
            data = f.read()
        for name, value in version_values(version_resource(data)):
            print(f"{name}={value}")
    except (OSError, Malformed) as error:
        print(f"{path}: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
