"""What the build's presets (CMakePresets.json) say, for the commands that
need more than CMake's own command line gives: the configure preset a build
preset builds, so that a tree is configured before it is built.

Command line (python3 -m buildtools.presets): configure-preset BUILD_PRESET
prints the name of the configure preset of BUILD_PRESET.
"""
import json
import os
import sys

PRESETS = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "CMakePresets.json")


def configure_preset(build_preset, presets_file=PRESETS):
    """The configure preset of BUILD_PRESET, its own or the one it inherits;
    None for a name no build preset has."""
    with open(presets_file, encoding="utf-8") as presets:
        build_presets = {preset["name"]: preset for preset in json.load(presets)["buildPresets"]}
    pending = [build_preset]
    while pending:
        preset = build_presets.get(pending.pop(0), {})
        if "configurePreset" in preset:
            return preset["configurePreset"]
        inherited = preset.get("inherits", [])
        pending += [inherited] if isinstance(inherited, str) else inherited
    return None


def main(arguments):
    if len(arguments) != 2 or arguments[0] != "configure-preset":
        print("usage: python3 -m buildtools.presets configure-preset BUILD_PRESET", file=sys.stderr)
        return 2
    configure = configure_preset(arguments[1])
    if configure is None:
        print("presets: no build preset %s with a configure preset" % arguments[1], file=sys.stderr)
        return 2
    print(configure)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
