#!/usr/bin/env python3
"""Functions longer than a limit, from their first line to their closing brace.

    python3 scripts/funciones_largas.py [FOLDER [LINES]]     (defaults: src 80)

Reads the definitions with Universal Ctags (Debian package universal-ctags); a lambda counts
as part of the function that holds it.
"""
import json
import subprocess
import sys

carpeta = sys.argv[1] if len(sys.argv) > 1 else "src"
limite = int(sys.argv[2]) if len(sys.argv) > 2 else 80
salida = subprocess.run(["ctags", "-R", "--languages=C++", "--kinds-C++=f", "--fields=+ne", "--extras=-q",
                         "--output-format=json", "-f", "-", carpeta],
                        capture_output=True, text=True, check=True).stdout
filas = []
for linea in salida.splitlines():
    t = json.loads(linea)
    if t.get("_type") != "tag" or "end" not in t:
        continue
    nombre = t["scope"] + "::" + t["name"] if t.get("scope") else t["name"]
    filas.append((t["end"] - t["line"] + 1, t["path"], t["line"], nombre))
filas.sort(reverse=True)
largas = [f for f in filas if f[0] > limite]
for n, ruta, linea, nombre in largas:
    print(f"{n:5d} {ruta}:{linea} {nombre}")
print(f"{len(largas)} de {len(filas)} funciones con más de {limite} líneas")
