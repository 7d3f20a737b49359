#!/usr/bin/env python3
"""Writes the seed corpus of formfile_fuzz (fuzz/corpus/formfile/): small form files laid out as
FormToJson writes them (members in its order, two-space indent), and damaged ones made from them;
and its dictionary (fuzz/formfile_fuzz.dict): the format's member names, type names and a few
values worth splicing.

Run from anywhere: python3 fuzz/make_formfile_corpus.py (it replaces the files it writes)."""
import json
import pathlib

MARKER = "qvControls form"


def prop(key, type_, value=None):
    p = {"key": key, "type": type_}
    if type_ not in ("Empty", "Null"):
        p["value"] = value
    return p


def font(name, size, weight=400, italic=False, underline=False, strikethrough=False, charset=0):
    return {"name": name, "size": size, "bold": weight >= 550, "italic": italic,
            "underline": underline, "strikethrough": strikethrough, "weight": weight,
            "charset": charset}


def picture(fmt, width, height, data):
    return {"format": fmt, "width": width, "height": height, "data": data.hex()}


def control(cls, name, properties, left=120, top=240, width=2400, height=285):
    return {"class": cls, "name": name, "left": left, "top": top, "width": width,
            "height": height, "properties": properties}


def form(title, controls):
    return {"format": MARKER, "version": 1, "title": title, "controls": controls}


def dump(doc):
    return (json.dumps(doc, indent=2, ensure_ascii=False) + "\n").encode("utf-8")


TEXT_BOX = [
    prop("Text", "String", "Grüße  "), prop("MaxLength", "Integer", 20),
    prop("MultiLine", "Boolean", False), prop("Locked", "Boolean", False),
    prop("Trim", "Boolean", True), prop("AllUcase", "Boolean", False),
    prop("FirstCharacterCapital", "Boolean", True), prop("ForbiddenCharacters", "String", "<>"),
    prop("NullToEmptyString", "Boolean", True), prop("MustHaveValue", "Boolean", True),
    prop("UseWarningColor", "Boolean", True), prop("Enabled", "Boolean", True),
    prop("SelectedOnGotFocus", "Boolean", False), prop("PasswordChar", "String", ""),
    prop("ScrollBars", "Integer", 0), prop("Appearance", "Integer", 1),
    prop("BorderStyle", "Integer", 1), prop("BackColor", "Long", -2147483643),
    prop("ForeColor", "Long", -2147483640), prop("FocusColor", "Long", 12648447),
    prop("WarningColor", "Long", 8454143), prop("ErrorColor", "Long", 8421631),
    prop("DisabledColor", "Long", -2147483633), prop("MousePointer", "Integer", 0),
    prop("Font", "Font", font("Noto Sans 東京", 10.5, 700, italic=True, charset=161)),
    prop("MouseIcon", "Picture", picture(3, 2, 1, bytes([0, 0x7F, 0xFF]))),
]
NUM_BOX = [
    prop("Value", "Double", 1234.5), prop("Text", "String", "1.234,50"),
    prop("PreDecimalNumbers", "Integer", 7), prop("PostDecimalNumbers", "Integer", 2),
    prop("AllowMinus", "Boolean", True), prop("CheckRange", "Boolean", True),
    prop("SmallestValue", "Double", -1e6), prop("LargestValue", "Double", 1e6),
    prop("IncludeSmallestValueToRange", "Boolean", True),
    prop("IncludeLargestValueToRange", "Boolean", False), prop("Separator", "Boolean", True),
    prop("DecimalPointCharacter", "String", ","), prop("ToolTipText", "String", "Betrag"),
    prop("Font", "Font", font("Mono", 8, underline=True)), prop("MouseIcon", "Picture", None),
    prop("Stamp", "Date", 45351.75), prop("Ratio", "Single", 0.1), prop("Nothing", "Null"),
    prop("Unset", "Empty"), prop("Huge", "Double", "Infinity"), prop("Odd", "Double", "NaN"),
]
NUM_BOX[-7]["value"] = picture(10, 16, 16, bytes(range(256)))

SOUND = form("Kunde – Übersicht", [control("QVtxtBoxControl", "txtName", TEXT_BOX),
                                  control("QVnumBoxControl", "numAmount", NUM_BOX, top=600)])
SOUND_TEXT = dump(SOUND)


def with_controls(*controls, title="T"):
    return dump(form(title, list(controls)))


def replaced(old, new):
    assert old in SOUND_TEXT, old
    return SOUND_TEXT.replace(old, new, 1)


SEEDS = {
    "sound_two_controls": SOUND_TEXT,
    "text_box_only": with_controls(control("QVtxtBoxControl", "txtOnly", TEXT_BOX[:6])),
    "empty_form": with_controls(),
    "unknown_classes": with_controls(
        control("QVDateBoxControl", "datA", []), control("NoSuchClass", "x", TEXT_BOX[:2]),
        control("qvtxtboxcontrol", "txtLower", [prop("Text", "String", "a")])),
    "cut_in_a_control": SOUND_TEXT[:len(SOUND_TEXT) * 2 // 3],
    "cut_in_a_string": SOUND_TEXT[:SOUND_TEXT.index(b"Gr") + 3],
    "bad_number_1e400": replaced(b"1234.5", b"1e400"),
    "lone_surrogate": replaced(b'"Gr\xc3\xbc\xc3\x9fe  "', b'"a\\ud800b"'),
    "surrogate_pair_and_escapes": replaced(b'"Gr\xc3\xbc\xc3\x9fe  "',
                                           b'"\\ud83d\\ude00\\u0000\\"\\\\\\t\\udc00"'),
    "duplicate_names": with_controls(control("QVtxtBoxControl", "txtA", TEXT_BOX[:3]),
                                     control("QVnumBoxControl", "TXTA", NUM_BOX[:3]),
                                     control("QVtxtBoxControl", "txtA", [])),
    "duplicate_keys": replaced(b'"key": "MaxLength"', b'"key": "Text"'),
    "duplicate_members": replaced(b'"version": 1,', b'"version": 1, "version": 2, "title": 5,'),
    "wrong_types": with_controls(
        control("QVtxtBoxControl", "txtW", [
            prop("MaxLength", "Integer", "20"), prop("Text", "String", 5),
            prop("Locked", "Boolean", 1), prop("Font", "Font", "Arial"),
            prop("MouseIcon", "Picture", {"data": "0g"}), prop("BackColor", "Long", 2.5),
            prop("ScrollBars", "Currency", 1), {"key": 7, "type": "Integer", "value": 1}, [],
        ], left="1", width=-5, height=1e9)),
    "wrong_top_level": b'[{"format": "qvControls form"}]',
    "deep_nesting": replaced(b"1234.5", b"[" * 5000 + b"]" * 5000),
    "deep_nesting_unclosed": b'{"controls": ' + b"[" * 20000,
    "invalid_utf8": replaced(b"Gr\xc3\xbc", b"Gr\xff\xc3(\xed\xa0\x80"),
    "trailing_garbage": SOUND_TEXT + b"}\x00x",
    "bom_and_crlf": b"\xef\xbb\xbf" + SOUND_TEXT.replace(b"\n", b"\r\n"),
    "huge_geometry_and_strings": with_controls(
        control("QVtxtBoxControl", "txtBig", [prop("Text", "String", "x" * 4000),
                                              prop("MaxLength", "Integer", 32767)],
                left=10000000, top=9999999, width=10000000, height=10000000)),
}


def dictionary():
    words = ["format", "version", "title", "controls", "class", "name", "left", "top", "width",
             "height", "properties", "key", "type", "value",
             "size", "bold", "italic", "underline", "strikethrough", "weight", "charset", "data",
             "Empty", "Null", "Boolean", "Integer", "Long", "Single", "Double", "Date", "String",
             "Font", "Picture", MARKER, "QVtxtBoxControl", "QVnumBoxControl", "QVDateBoxControl",
             "QVcomboBoxControl", "NaN", "Infinity", "-Infinity", "Text", "MaxLength", "Value"]
    lines = ["# libFuzzer dictionary for formfile_fuzz: the form file format's names and values.",
             "# Written by fuzz/make_formfile_corpus.py."]
    lines += [f'"\\"{w}\\""' for w in words]
    lines += ['"\\"key\\": \\"Text\\", \\"type\\": \\"String\\", \\"value\\": "',
              '"\\\\ud800"', '"\\\\udc00"', '"1e400"', '"-0.0"', '"2147483648"', '"32768"',
              '"true"', '"false"', '"null"', '"[]"', '"{}"', '": "', '", "']
    return "\n".join(lines) + "\n"


def main():
    here = pathlib.Path(__file__).resolve().parent
    out = here / "corpus" / "formfile"
    out.mkdir(parents=True, exist_ok=True)
    for name, data in SEEDS.items():
        (out / f"{name}.json").write_bytes(data)
    (here / "formfile_fuzz.dict").write_text(dictionary())
    print(f"{len(SEEDS)} seeds in {out}, dictionary in {here / 'formfile_fuzz.dict'}")


if __name__ == "__main__":
    main()
