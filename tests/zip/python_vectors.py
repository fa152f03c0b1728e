# python_vectors.py OUTDIR: writes the archives of Debian's Python 3.11 zipfile tests (bad
# CRCs, the "python" password, overlapping entries) as files, read from its test
# module's source without running it.
import ast, pathlib, sys

source = pathlib.Path("/usr/lib/python3.11/test/test_zipfile.py").read_text()
out = pathlib.Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)

def literal(node, name):
    for n in ast.walk(node):
        if isinstance(n, ast.Assign) and any(getattr(t, "id", None) == name for t in n.targets):
            return ast.literal_eval(n.value)
    raise SystemExit("no " + name)

for node in ast.walk(ast.parse(source)):
    if isinstance(node, ast.ClassDef):
        if node.name == "StoredBadCrcTests":
            (out / "stored_bad_crc.zip").write_bytes(literal(node, "zip_with_bad_crc"))
        elif node.name == "DeflateBadCrcTests":
            (out / "deflate_bad_crc.zip").write_bytes(literal(node, "zip_with_bad_crc"))
        elif node.name == "DecryptionTests":
            (out / "crypt_text.zip").write_bytes(literal(node, "data"))
            (out / "crypt_zero.zip").write_bytes(literal(node, "data2"))
    elif isinstance(node, ast.FunctionDef) and node.name in ("test_full_overlap", "test_quoted_overlap"):
        (out / (node.name[5:] + ".zip")).write_bytes(literal(node, "data"))
