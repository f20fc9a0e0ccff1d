#!/usr/bin/env python3
"""A host's saved state of the LV2 plug-in, as jalv writes and reads it.

write DIR URI: a state directory whose block holds a response, its path and
  the parameters 0.5, 0.5, 0.5, 0, 0, and whose port values differ from them.
check DIR [WAV]: reads a saved state: prints the port values, and fails
  unless the block's parameters are the port values and the block holds the
  response and path that `write` put there (or, with WAV, that file's path
  and a response).
"""
import base64
import math
import re
import struct
import sys

BLOCK_SIZE = 131356
SYMBOLS = ["mix", "out_gain", "fir_length", "bypass", "right_switch"]
PORTS = [0.8, 0.6, 0.25, 0.0, 0.0]
PATH = b"/sessions/hall.wav"


def response():
    return [math.exp(-i / 300.0) * math.sin(i * 0.3) for i in range(2000)]


def block(parameters):
    b = bytearray(BLOCK_SIZE)
    b[0:len(PATH)] = PATH
    struct.pack_into("<5f", b, 260, *parameters)
    struct.pack_into("<2000f", b, 280, *response())
    b[131352] = 1
    return bytes(b)


def write(directory, uri):
    import os
    os.makedirs(directory, exist_ok=True)
    prefixes = (
        "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
        "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
        "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
        "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
        "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n\n")
    with open(directory + "/manifest.ttl", "w") as f:
        f.write(prefixes + f"<state.ttl>\n\ta pset:Preset ;\n\tlv2:appliesTo <{uri}> ;\n\trdfs:seeAlso <state.ttl> .\n")
    ports = " , ".join(f'[ lv2:symbol "{s}" ; pset:value {v} ]' for s, v in zip(SYMBOLS, PORTS))
    data = base64.b64encode(block([0.5, 0.5, 0.5, 0.0, 0.0])).decode()
    with open(directory + "/state.ttl", "w") as f:
        f.write(prefixes + f"<>\n\ta pset:Preset ;\n\tlv2:appliesTo <{uri}> ;\n\tlv2:port {ports} ;\n"
                f'\tstate:state [ <{uri}#state> """{data}"""^^xsd:base64Binary ] .\n')


def check(directory, loaded_path=None):
    text = open(directory + "/state.ttl").read()
    ports = {}
    for symbol, value in re.findall(r'lv2:symbol "(\w+)" ;\s*pset:value ([-0-9.eE+]+)', text):
        ports[symbol] = float(value)
    found = re.search(r'#state> """(.*?)"""', text, re.S)
    if found is None or len(ports) != 5:
        print("FAIL: no state block or not five port values")
        return 1
    saved = base64.b64decode(re.sub(r"\s", "", found.group(1)))
    print(" ".join(f"{s}={ports[s]}" for s in SYMBOLS))
    failures = 0
    if len(saved) != BLOCK_SIZE:
        print(f"FAIL: the block has {len(saved)} bytes")
        return 1
    params = struct.unpack_from("<5f", saved, 260)
    wanted = [ports[s] for s in SYMBOLS]
    # The host writes the port values as decimal text of 8 or 9 digits.
    if any(abs(p - w) > 1e-7 * max(1.0, abs(w)) for p, w in zip(params, wanted)):
        print(f"FAIL: the block's parameters {params} are not the ports' {wanted}")
        failures += 1
    path = PATH if loaded_path is None else loaded_path.encode()
    expected = block(params)
    if saved[131352] != 1 or (loaded_path is None and saved[280:131352] != expected[280:131352]):
        print("FAIL: the block lost the response")
        failures += 1
    if saved[0:len(path) + 1] != path + b"\0":
        print(f"FAIL: the block's path is {saved[0:40]}")
        failures += 1
    return failures


if __name__ == "__main__":
    if sys.argv[1] == "write":
        write(sys.argv[2], sys.argv[3])
    else:
        sys.exit(check(sys.argv[2], sys.argv[3] if len(sys.argv) > 3 else None))
