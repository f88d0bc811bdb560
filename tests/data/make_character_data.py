#!/usr/bin/env python3
"""Writes the test character data into tests/data/characters/ (text files, committed):

- "CharacterAssemblies.xml": the assemblies Male1..Male6 (ids 101..106) and Female1..Female6
  (ids 201..206), each naming its own wardrobe and anatomy file;
- one wardrobe and one anatomy file per assembly, skin-toned items carrying the assembly's tone;
- the twelve default looks "AppearanceMale01.xml".."AppearanceFemale06.xml";
- the 48 computer-family looks "<decade>s_F<difficulty>_AppearanceOpponent<Male|Female>0<1|2>.xml";
- "UnlockableCharacterAssemblies.xml": one assembly per default look, named by its look key
  ("AppearanceMale01".."AppearanceFemale06"), whose wardrobe and anatomy files hold the items
  won through awards, skin-toned items in the look's tone;
- "RetailerCharacterAssemblies.xml": the extra items offered to every look, a male and a
  female wardrobe under one name; "..._skin01.mdl" items take the wearer's tone.

Partners share a skin tone (Male1/Female2, Male2/Female1, Male3/Female4, ...), so a family made
of a look and its partner looks is of one tone. Every look names its own file, and every part
id it gives is an id of its assembly's lists.

    tests/data/make_character_data.py [test data folder]
"""
import os
import sys

TONES = {
    "Male1": "pnk", "Male2": "dpnk", "Male3": "yel", "Male4": "blk", "Male5": "brw", "Male6": "wht",
    "Female1": "dpnk", "Female2": "pnk", "Female3": "blk", "Female4": "yel", "Female5": "wht", "Female6": "brw",
}

# (list element, first id, item bases); "{t}" is the skin tone.
WARDROBE = {
    "Male": [
        ("Tops", 11, ["Top_Disco_skin01_{t}", "Top_Turtleneck", "Top_Polo_skin01_{t}", "Top_Blazer",
                      "Top_Hawaiian_skin01_{t}", "Top_Cardigan"]),
        ("Bottoms", 21, ["Bottom_Flares", "Bottom_Jeans", "Bottom_Slacks", "Bottom_Cargo", "Bottom_Shorts_skin01_{t}"]),
        ("Footwear", 31, ["Shoes_Platform", "Shoes_Sneakers", "Shoes_Loafers", "Shoes_Boots"]),
        ("Eyewear", 41, ["No_Eyewear", "Glasses_Aviator", "Glasses_Round"]),
    ],
    "Female": [
        ("Tops", 11, ["Top_Disco_skin01_{t}", "Top_Blouse", "Top_Halter_skin01_{t}", "Top_Sweater",
                      "Top_Tank_skin01_{t}", "Top_Jacket"]),
        ("Bottoms", 21, ["Bottom_Flares", "Bottom_Skirt_skin01_{t}", "Bottom_Jeans", "Bottom_Capris", "Bottom_Pencil"]),
        ("Footwear", 31, ["Shoes_Platform", "Shoes_Heels", "Shoes_Sneakers", "Shoes_Sandals_skin01_{t}"]),
        ("Eyewear", 41, ["No_Eyewear", "Glasses_CatEye", "Glasses_Round"]),
    ],
}
ANATOMY = {
    "Male": [
        ("head", 1, ["Head01_skin01_{t}", "Head02_skin01_{t}"]),
        ("eye_left", 3, ["EyeLeft_Brown", "EyeLeft_Blue"]),
        ("eye_right", 5, ["EyeRight_Brown", "EyeRight_Blue"]),
        ("Hairstyle", 51, ["Hair_Afro", "Hair_Mullet", "Hair_Crew", "Hair_Slick", "Hair_Shaggy", "Hair_Buzz"]),
    ],
    "Female": [
        ("head", 1, ["Head01_skin01_{t}", "Head02_skin01_{t}"]),
        ("eye_left", 3, ["EyeLeft_Brown", "EyeLeft_Green"]),
        ("eye_right", 5, ["EyeRight_Brown", "EyeRight_Green"]),
        ("Hairstyle", 51, ["Hair_Beehive", "Hair_Bob", "Hair_Perm", "Hair_Ponytail", "Hair_Pixie", "Hair_Feathered"]),
    ],
}
# Avatar description fields: (prefix, "wardrobe"/"anatomy", list element, customizable).
LOOK_FIELDS = [
    ("Head", "anatomy", "head", False),
    ("EyeLeft", "anatomy", "eye_left", False),
    ("EyeRight", "anatomy", "eye_right", False),
    ("Hairstyle", "anatomy", "Hairstyle", True),
    ("Top", "wardrobe", "Tops", True),
    ("Bottom", "wardrobe", "Bottoms", True),
    ("Footwear", "wardrobe", "Footwear", True),
    ("Eyewear", "wardrobe", "Eyewear", True),
]
DECADES = ["70", "80", "90", "00"]

# The items won through awards, by gender: (list element, first id, item bases).
UNLOCKABLE_WARDROBE = {
    "Male": [
        ("Tops", 61, ["Top_Leisure_skin01_{t}", "Top_Tuxedo", "Top_Sequin"]),
        ("Bottoms", 71, ["Bottom_Bellbottoms", "Bottom_Tracksuit"]),
        ("Footwear", 81, ["Shoes_Gold", "Shoes_HighTops"]),
        ("Eyewear", 91, ["Glasses_Star", "Glasses_Shutter"]),
    ],
    "Female": [
        ("Tops", 61, ["Top_Leisure_skin01_{t}", "Top_Gown", "Top_Sequin"]),
        ("Bottoms", 71, ["Bottom_Bellbottoms", "Bottom_Miniskirt"]),
        ("Footwear", 81, ["Shoes_Gold", "Shoes_GoGoBoots"]),
        ("Eyewear", 91, ["Glasses_Star", "Glasses_Butterfly"]),
    ],
}
UNLOCKABLE_ANATOMY = {
    "Male": [("head", 1, []), ("eye_left", 3, []), ("eye_right", 5, []),
             ("Hairstyle", 101, ["Hair_Pompadour", "Hair_Long_skin01_{t}"])],
    "Female": [("head", 1, []), ("eye_left", 3, []), ("eye_right", 5, []),
               ("Hairstyle", 101, ["Hair_Disco", "Hair_Long_skin01_{t}"])],
}
UNLOCKABLES = (UNLOCKABLE_WARDROBE, UNLOCKABLE_ANATOMY)
# The extra items: one set, its male and female wardrobes.
RETAILER_SET = "RetailerPack01"
RETAILER_WARDROBE = {
    "Male": [("Tops", 111, ["Top_Jersey_skin01", "Top_Varsity"]), ("Bottoms", 121, ["Bottom_Sweatpants"]),
             ("Footwear", 131, ["Shoes_Skates"]), ("Eyewear", 141, ["Glasses_Sport"])],
    "Female": [("Tops", 111, ["Top_Jersey_skin01", "Top_Varsity"]), ("Bottoms", 121, ["Bottom_Leggings"]),
               ("Footwear", 131, ["Shoes_Skates"]), ("Eyewear", 141, ["Glasses_Sport"])],
}


def gender_of(assembly):
    return "Male" if assembly.startswith("Male") else "Female"


def assembly_id(assembly):
    return (100 if gender_of(assembly) == "Male" else 200) + int(assembly[-1])


def partner(digit):
    return digit + 1 if digit % 2 else digit - 1


def items(assembly, kind, tables=None):
    """{list element: [(id, name)]} of the assembly's wardrobe or anatomy (or of the given
    {gender: table} pair of wardrobe and anatomy tables)."""
    gender = gender_of(assembly)
    prefix = "ChM_" if gender == "Male" else "ChF_"
    wardrobes, anatomies = tables or (WARDROBE, ANATOMY)
    table = wardrobes[gender] if kind == "wardrobe" else anatomies[gender]
    tone = TONES.get(assembly, "")
    return {element: [(first + i, prefix + base.format(t=tone) + ".mdl") for i, base in enumerate(bases)]
            for element, first, bases in table}


def wardrobe_text(entries):
    return "<root>\n  <WardRobe>\n" + "".join(
        part_list(element, entries[element]) for element in ("Eyewear", "Tops", "Bottoms", "Footwear")) + \
        "  </WardRobe>\n</root>\n"


def anatomy_text(entries):
    return "<root>\n  <AnatomyPart>\n" + "".join(
        part_list(element, entries[element]) for element in ("head", "eye_left", "eye_right", "Hairstyle")) + \
        "  </AnatomyPart>\n</root>\n"


def part_list(element, entries):
    if not entries:
        return "    <%s/>\n" % element
    body = "".join("\n      <item><Id>%d</Id><Name>%s</Name></item>" % entry for entry in entries)
    return "    <%s>%s\n    </%s>\n" % (element, body, element)


def write(folder, name, text):
    with open(os.path.join(folder, name), "w", newline="\n") as out:
        out.write(text)


def write_look(folder, name, assembly, choice):
    """choice(element, count) -> the index of the item worn from that list."""
    lists = {**items(assembly, "anatomy"), **items(assembly, "wardrobe")}
    fields = ["<Name>%s</Name>" % name, "<CharacterAssembly_Name>%s</CharacterAssembly_Name>" % assembly,
              "<CharacterAssembly_Id>%d</CharacterAssembly_Id>" % assembly_id(assembly)]
    for prefix, _, element, customizable in LOOK_FIELDS:
        entries = lists[element]
        part_id, part_name = entries[choice(element, len(entries)) % len(entries)]
        fields.append("<%s_Name>%s</%s_Name><%s_Id>%d</%s_Id><%s_Customizable>%s</%s_Customizable>" % (
            prefix, part_name, prefix, prefix, part_id, prefix, prefix, "true" if customizable else "false", prefix))
    write(folder, name, "<root>\n  <Avatar_KorvoCity>\n    " + "\n    ".join(fields) + "\n  </Avatar_KorvoCity>\n</root>\n")


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    folder = os.path.join(data, "characters")
    os.makedirs(folder, exist_ok=True)
    assemblies = ["Male%d" % d for d in range(1, 7)] + ["Female%d" % d for d in range(1, 7)]

    records = []
    for assembly in assemblies:
        records.append("    <item><Name>%s</Name><Id>%d</Id><Anatomy>Anatomy_%s.xml</Anatomy>"
                       "<Wardrobe>Wardrobe_%s.xml</Wardrobe><Gender>%s</Gender></item>\n" % (
                           assembly, assembly_id(assembly), assembly, assembly, gender_of(assembly)))
        write(folder, "Wardrobe_%s.xml" % assembly, wardrobe_text(items(assembly, "wardrobe")))
        write(folder, "Anatomy_%s.xml" % assembly, anatomy_text(items(assembly, "anatomy")))
    write(folder, "CharacterAssemblies.xml",
          "<root>\n  <CharacterAssemblies>\n" + "".join(records) + "  </CharacterAssemblies>\n</root>\n")

    # The default looks: look n wears item n-1 of each list (glasses on every third look).
    for gender in ("Male", "Female"):
        for digit in range(1, 7):
            def choice(element, count, n=digit - 1):
                return (1 + n // 3) if element == "Eyewear" and n % 3 == 2 else (0 if element == "Eyewear" else n)
            write_look(folder, "Appearance%s%02d.xml" % (gender, digit), "%s%d" % (gender, digit), choice)

    # The computer families: family k of decade d and difficulty f is of tone pair k % 6; its
    # members wear items shifted by the family and by the member, so no two look alike.
    for d, decade in enumerate(DECADES):
        for f in range(3):
            k = d * 3 + f
            digit = k % 6 + 1
            members = [("Male", 1, "Male%d" % digit), ("Male", 2, "Male%d" % digit),
                       ("Female", 1, "Female%d" % partner(digit)), ("Female", 2, "Female%d" % partner(digit))]
            for m, (gender, number, assembly) in enumerate(members):
                def choice(element, count, k=k, m=m):
                    if element == "Eyewear":
                        return 1 if (k + m) % 4 == 3 else 0
                    return k + 2 * m + (1 if element in ("Bottoms", "Hairstyle") else 0)
                write_look(folder, "%ss_F%d_AppearanceOpponent%s%02d.xml" % (decade, f + 1, gender, number),
                           assembly, choice)

    write_unlockables(folder, assemblies)
    write_retailer(folder)


def write_unlockables(folder, assemblies):
    """One unlockable assembly per default look, keyed by the look's name without extension;
    its items are in the tone of the look's assembly."""
    records = []
    for assembly in assemblies:
        gender = gender_of(assembly)
        key = "Appearance%s%02d" % (gender, int(assembly[-1]))
        records.append("    <item><Name>%s</Name><Id>%d</Id><Anatomy>Anatomy_Unlockable_%s.xml</Anatomy>"
                       "<Wardrobe>Wardrobe_Unlockable_%s.xml</Wardrobe><Gender>%s</Gender></item>\n" % (
                           key, 200 + assembly_id(assembly), key, key, gender))
        write(folder, "Wardrobe_Unlockable_%s.xml" % key, wardrobe_text(items(assembly, "wardrobe", UNLOCKABLES)))
        write(folder, "Anatomy_Unlockable_%s.xml" % key, anatomy_text(items(assembly, "anatomy", UNLOCKABLES)))
    write(folder, "UnlockableCharacterAssemblies.xml",
          "<root>\n  <CharacterAssemblies>\n" + "".join(records) + "  </CharacterAssemblies>\n</root>\n")


def write_retailer(folder):
    """The extra set: a male and a female record of one name, wardrobes only."""
    records = []
    for gender in ("Male", "Female"):
        file_name = "Wardrobe_%s_%s.xml" % (RETAILER_SET, gender)
        records.append("    <item><Name>%s</Name><Id>%d</Id><Wardrobe>%s</Wardrobe><Gender>%s</Gender></item>\n" % (
            RETAILER_SET, 500 if gender == "Male" else 501, file_name, gender))
        write(folder, file_name, wardrobe_text(items(gender + "1", "wardrobe", (RETAILER_WARDROBE, None))))
    write(folder, "RetailerCharacterAssemblies.xml",
          "<root>\n  <CharacterAssemblies>\n" + "".join(records) + "  </CharacterAssemblies>\n</root>\n")


if __name__ == "__main__":
    main()
