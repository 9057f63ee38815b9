# The type stubs installed beside the module declare what it offers.
import ast
from pathlib import Path

import pytest

import orvane
import orvane.winreg

STUBS = Path(__file__).resolve().parent.parent / "stubs" / "orvane-stubs"


def declared(body):
    names = set()
    for node in body:
        if isinstance(node, (ast.ClassDef, ast.FunctionDef)):
            names.add(node.name)
        elif isinstance(node, ast.AnnAssign):
            names.add(node.target.id)
        elif isinstance(node, ast.Assign):
            names.update(target.id for target in node.targets)
        elif isinstance(node, ast.ImportFrom):
            names.update(alias.asname or alias.name for alias in node.names)
    return names


def public(names):
    return {name for name in names if not name.startswith("_")}


@pytest.mark.parametrize("module, stub", [(orvane, "__init__.pyi"), (orvane.winreg, "winreg.pyi")])
def test_the_stub_declares_every_public_name(module, stub):
    tree = ast.parse((STUBS / stub).read_text())
    assert public(dir(module)) <= declared(tree.body)


def test_the_stub_declares_every_member_of_the_control():
    tree = ast.parse((STUBS / "__init__.pyi").read_text())
    quorvel = next(node for node in tree.body if isinstance(node, ast.ClassDef) and node.name == "Quorvel")
    assert public(dir(orvane.Quorvel)) == public(declared(quorvel.body))
