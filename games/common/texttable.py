#!/usr/bin/env python3
"""Turns a game's table of texts into the header of its constants.

    texttable.py TABLE NAMESPACE HEADER

TABLE has one text a line: the constant's name, the English text and the Spanish text, separated by tabs; blank
lines and lines starting with # are passed over. HEADER gets one `inline constexpr Text` a line in NAMESPACE.
"""
import os
import sys


def literal(text):
    return '"' + text.replace('\\', '\\\\').replace('"', '\\"') + '"'


def main():
    table, namespace, header = sys.argv[1:4]
    names = set()
    constants = []
    with open(table, encoding='utf-8') as source:
        for number, line in enumerate(source, 1):
            line = line.rstrip('\r\n')
            if not line.strip() or line.startswith('#'):
                continue
            fields = line.split('\t')
            if len(fields) != 3 or not fields[0].isidentifier() or not fields[1] or not fields[2]:
                sys.exit('%s:%d: expected a name, the English text and the Spanish text, separated by tabs'
                         % (table, number))
            if fields[0] in names:
                sys.exit('%s:%d: %s is named twice' % (table, number, fields[0]))
            names.add(fields[0])
            constants.append('inline constexpr Text %s { %s, %s };' % (fields[0], literal(fields[1]),
                                                                      literal(fields[2])))
    text = ('// Made from %s; change the table, not this file.\n#pragma once\n\n'
            '#include "games/common/language.h"\n\nnamespace %s {\n\n%s\n\n}\n'
            % (os.path.basename(table), namespace, '\n'.join(constants)))
    os.makedirs(os.path.dirname(header), exist_ok=True)
    # An unchanged header keeps its time, so the sources that include it are not built again.
    if not os.path.exists(header) or open(header, encoding='utf-8').read() != text:
        with open(header, 'w', encoding='utf-8') as out:
            out.write(text)


main()
