#!/usr/bin/env python3
"""The program's pictures from their SVG sources.

- resources/img_menu/svg/TAG.svg: the command bar's icons, one per key, drawn below on a
  24 x 24 grid: white strokes with one colour of their own and a soft shadow, so that they
  read on each of the bar's five colour styles.
- resources/img_menu/TAG.png, TAG_over.png, TAG_dis.png: 40 x 40 pixels (the editor's item
  box), normal, hovered or active (brighter colour over a light halo) and disabled (grey);
  TAG@2x.png, TAG_over@2x.png, TAG_dis@2x.png: the same at 80 x 80 for screens scaled 2x.
- resources/icono/vela-N.png: the program's icon at the desktop's sizes, from vela.svg.

Run it again after changing a drawing: python3 scripts/iconos.py (needs rsvg-convert,
Debian package librsvg2-bin; the PNG files are kept in the repository).
"""
import os
import shutil
import subprocess
import sys

RAIZ = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CARPETA = os.path.join(RAIZ, "resources", "img_menu")
LADO = 40
TAMANOS_PROGRAMA = [16, 22, 24, 32, 48, 64, 128, 256]

# Each drawing uses {T} for its strokes (white), {A} for its own colour and {F} for fills
# that take the stroke colour. Paths with class "a" are filled with the colour.
DIBUJOS = {
    "NUEVO": ("#49c463", """
  <path d="M5.5 3h8l5 5v13h-13z" fill="none" stroke="{T}"/>
  <path d="M13.5 3v5h5" fill="none" stroke="{T}"/>
  <circle cx="17" cy="17" r="5.2" fill="{A}" stroke="{T}" stroke-width="1.2"/>
  <path d="M17 14.4v5.2M14.4 17h5.2" stroke="{T}" stroke-width="1.6"/>"""),
    "BORRAR": ("#e4574c", """
  <path d="M6.2 7.5l1.1 13.5h9.4l1.1-13.5z" fill="{A}" stroke="{T}"/>
  <path d="M4 7.5h16M9.5 7.5l.6-3h3.8l.6 3" fill="none" stroke="{T}"/>
  <path d="M10.2 10.5l.3 7.5M13.8 10.5l-.3 7.5" stroke="{T}" stroke-width="1.4"/>"""),
    "REPORTE": ("#f2a23a", """
  <path d="M5.5 3h13v18h-13z" fill="none" stroke="{T}"/>
  <path d="M5.5 3h13v4.5h-13z" fill="{A}" stroke="{T}"/>
  <path d="M8.5 11h7M8.5 14h7M8.5 17h4.5" stroke="{T}" stroke-width="1.5"/>"""),
    "CONSULTAR": ("#56b4f0", """
  <circle cx="10.5" cy="10.5" r="6" fill="{A}" stroke="{T}" stroke-width="1.9"/>
  <path d="M8 8.6a3 3 0 0 1 2.6-1.6" fill="none" stroke="{T}" stroke-width="1.3"/>
  <path d="M15 15l5.5 5.5" stroke="{T}" stroke-width="2.6"/>"""),
    "PLANILLA": ("#3fb06d", """
  <rect x="3.5" y="4.5" width="17" height="15" rx="1.2" fill="none" stroke="{T}"/>
  <path d="M3.5 4.5h17v4h-17z" fill="{A}" stroke="{T}"/>
  <path d="M3.5 12.5h17M3.5 16h17M9.5 8.5v11M15 8.5v11" stroke="{T}" stroke-width="1.2"/>"""),
    "CANCELAR": ("#f08a3c", """
  <circle cx="12" cy="12" r="8.5" fill="{A}" stroke="{T}"/>
  <path d="M8.6 8.6l6.8 6.8M15.4 8.6l-6.8 6.8" stroke="{T}" stroke-width="2.1"/>"""),
    "GRABAR": ("#4d8fe6", """
  <path d="M4 4h13l3 3v13h-16z" fill="{A}" stroke="{T}"/>
  <path d="M7.5 4v5h8V4" fill="{F}" stroke="{T}" stroke-width="1.2"/>
  <rect x="7" y="13" width="10" height="7" rx=".6" fill="{F}" stroke="{T}" stroke-width="1.2"/>
  <path d="M13 5.5v2" stroke="{A}" stroke-width="1.4"/>"""),
    "CERRAR": ("#e4574c", """
  <path d="M13 4H5.5v16H13" fill="none" stroke="{T}"/>
  <path d="M9.5 12h9.5" stroke="{A}" stroke-width="2.4"/>
  <path d="M15.8 8.2L19.6 12l-3.8 3.8" fill="none" stroke="{A}" stroke-width="2.4"/>"""),
    "CLIENTE": ("#3fb8a8", """
  <circle cx="12" cy="8" r="4" fill="{A}" stroke="{T}"/>
  <path d="M4.5 20.5c.6-4.3 3.6-6.7 7.5-6.7s6.9 2.4 7.5 6.7z" fill="{A}" stroke="{T}"/>"""),
    "PEDIDO": ("#f2c14e", """
  <rect x="5" y="4.5" width="14" height="16.5" rx="1.5" fill="none" stroke="{T}"/>
  <rect x="8.5" y="2.8" width="7" height="3.6" rx="1" fill="{A}" stroke="{T}" stroke-width="1.2"/>
  <path d="M8 11l1.3 1.3L11.5 10M8 16l1.3 1.3 2.2-2.3M13.5 11.5h3M13.5 16.5h3" fill="none" stroke="{T}" stroke-width="1.3"/>"""),
    "REMITO": ("#f08a3c", """
  <path d="M2.5 6h11v10h-11z" fill="{A}" stroke="{T}"/>
  <path d="M13.5 9h4l3 3.5V16h-7z" fill="none" stroke="{T}"/>
  <circle cx="7" cy="17.5" r="2" fill="{F}" stroke="{T}" stroke-width="1.2"/>
  <circle cx="17" cy="17.5" r="2" fill="{F}" stroke="{T}" stroke-width="1.2"/>"""),
    "CAJERO": ("#f2c14e", """
  <rect x="3" y="10" width="18" height="10" rx="1.5" fill="none" stroke="{T}"/>
  <path d="M6 10V5.5h8V10" fill="none" stroke="{T}"/>
  <path d="M3 15.5h18" stroke="{T}" stroke-width="1.2"/>
  <circle cx="16.5" cy="7" r="3" fill="{A}" stroke="{T}" stroke-width="1.2"/>
  <path d="M7.5 18h3" stroke="{T}" stroke-width="1.4"/>"""),
    "UNIDADNEGOCIO": ("#56b4f0", """
  <path d="M4 21V6.5l8-3.5v18M12 9h8v12M2.5 21h19" fill="none" stroke="{T}"/>
  <path d="M6.5 8h3v2.5h-3zM6.5 13h3v2.5h-3zM14.5 12h3v2.5h-3zM14.5 16.5h3V19h-3z" fill="{A}" stroke="{T}" stroke-width=".9"/>"""),
    "IMPORTAR": ("#49c463", """
  <path d="M4 14v5.5h16V14" fill="none" stroke="{T}"/>
  <path d="M12 3v11" stroke="{A}" stroke-width="2.4"/>
  <path d="M7.8 10l4.2 4.3 4.2-4.3" fill="none" stroke="{A}" stroke-width="2.4"/>"""),
    "PROCESARIA": ("#b48cf0", """
  <path d="M10 3.5l1.9 5.1 5.1 1.9-5.1 1.9L10 17.5l-1.9-5.1L3 10.5l5.1-1.9z" fill="{A}" stroke="{T}" stroke-width="1.3"/>
  <path d="M18 13.5l.9 2.3 2.3.9-2.3.9-.9 2.3-.9-2.3-2.3-.9 2.3-.9z" fill="{F}" stroke="{T}" stroke-width=".9"/>
  <path d="M17.5 3.5l.6 1.4 1.4.6-1.4.6-.6 1.4-.6-1.4-1.4-.6 1.4-.6z" fill="{F}" stroke="{T}" stroke-width=".8"/>"""),
    "PANTALLA": ("#56b4f0", """
  <rect x="3" y="4" width="18" height="12.5" rx="1.3" fill="{A}" stroke="{T}"/>
  <path d="M9 20.5h6M12 16.5v4" stroke="{T}"/>"""),
    "IMPRESORA": ("#8fa9c9", """
  <path d="M7 9V3.5h10V9" fill="none" stroke="{T}"/>
  <rect x="3" y="9" width="18" height="8" rx="1.5" fill="{A}" stroke="{T}"/>
  <path d="M7 14h10v6.5H7z" fill="{F}" stroke="{T}" stroke-width="1.2"/>
  <circle cx="17.5" cy="11.6" r=".9" fill="{T}" stroke="none"/>"""),
    "COMPARTIR": ("#3fb8a8", """
  <path d="M8.3 10.8l7.4-4M8.3 13.2l7.4 4" stroke="{T}" stroke-width="1.6"/>
  <circle cx="6" cy="12" r="2.8" fill="{A}" stroke="{T}" stroke-width="1.3"/>
  <circle cx="18" cy="5.5" r="2.8" fill="{A}" stroke="{T}" stroke-width="1.3"/>
  <circle cx="18" cy="18.5" r="2.8" fill="{A}" stroke="{T}" stroke-width="1.3"/>"""),
    "HISTORIAL": ("#f2a23a", """
  <path d="M4.6 12a7.6 7.6 0 1 0 2.2-5.4" fill="none" stroke="{T}" stroke-width="1.8"/>
  <path d="M3.6 3.8v4.4H8" fill="none" stroke="{T}" stroke-width="1.8"/>
  <circle cx="12.2" cy="12" r="4.6" fill="{A}" stroke="none"/>
  <path d="M12.2 8.8V12l2.4 1.6" fill="none" stroke="{T}" stroke-width="1.7"/>"""),
    "VERIFICAR": ("#49c463", """
  <path d="M6 3.5h12v17H6z" fill="none" stroke="{T}"/>
  <path d="M8.5 8.5l1.4 1.4 2.6-2.8M8.5 14.5l1.4 1.4 2.6-2.8" fill="none" stroke="{A}" stroke-width="1.9"/>
  <path d="M14 8.8h2M14 14.8h2" stroke="{T}" stroke-width="1.5"/>"""),
    "AJUSTES": ("#f2c14e", """
  <path d="M10.6 2.8h2.8l.5 2.6 1.9.8 2.2-1.5 2 2-1.5 2.2.8 1.9 2.6.5v2.8l-2.6.5-.8 1.9 1.5 2.2-2 2-2.2-1.5-1.9.8-.5 2.6h-2.8l-.5-2.6-1.9-.8-2.2 1.5-2-2 1.5-2.2-.8-1.9-2.6-.5v-2.8l2.6-.5.8-1.9-1.5-2.2 2-2 2.2 1.5 1.9-.8z" fill="none" stroke="{T}" stroke-width="1.4"/>
  <circle cx="12" cy="12" r="3.4" fill="{A}" stroke="{T}" stroke-width="1.3"/>"""),
}

# The variants: stroke colour, own colour (None: the drawing's), a halo behind, a shadow.
VARIANTES = {
    "": dict(trazo="#ffffff", propio=None, aclarar=0.0, halo=False, sombra=True),
    "_over": dict(trazo="#ffffff", propio=None, aclarar=0.35, halo=True, sombra=True),
    "_dis": dict(trazo="#a9a9a9", propio="#808080", aclarar=0.0, halo=False, sombra=False),
}


def aclarar(color, cuanto):
    r, g, b = (int(color[i:i + 2], 16) for i in (1, 3, 5))
    r, g, b = (round(c + (255 - c) * cuanto) for c in (r, g, b))
    return "#%02x%02x%02x" % (r, g, b)


def svg(tag, variante):
    propio, dibujo = DIBUJOS[tag]
    v = VARIANTES[variante]
    a = v["propio"] or aclarar(propio, v["aclarar"])
    t = v["trazo"]
    partes = ['<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24">',
              f'  <title>{tag}{variante}</title>']
    if v["halo"]:
        partes.append('  <circle cx="12" cy="12" r="10.4" fill="#ffffff" fill-opacity=".22"/>')
    comunes = 'stroke-width="1.7" stroke-linecap="round" stroke-linejoin="round"'
    if v["sombra"]:
        sombra = dibujo.format(T="#000000", A="#000000", F="#000000")
        partes.append(f'  <g transform="translate(.55 .75)" opacity=".38" {comunes}>{sombra}\n  </g>')
    partes.append(f'  <g {comunes}>{dibujo.format(T=t, A=a, F=t)}\n  </g>')
    partes.append('</svg>\n')
    return "\n".join(partes)


def dibujar(svg_ruta, png_ruta, lado):
    subprocess.run(["rsvg-convert", "-w", str(lado), "-h", str(lado), "-o", png_ruta, svg_ruta], check=True)


def main():
    if not shutil.which("rsvg-convert"):
        sys.exit("Falta rsvg-convert (paquete librsvg2-bin).")
    fuentes = os.path.join(CARPETA, "svg")
    os.makedirs(fuentes, exist_ok=True)
    for tag in DIBUJOS:
        for variante in VARIANTES:
            nombre = tag + variante
            ruta = os.path.join(fuentes, nombre + ".svg")
            with open(ruta, "w", encoding="utf-8") as f:
                f.write(svg(tag, variante))
            dibujar(ruta, os.path.join(CARPETA, nombre + ".png"), LADO)
            dibujar(ruta, os.path.join(CARPETA, nombre + "@2x.png"), 2 * LADO)
    icono = os.path.join(RAIZ, "resources", "icono")
    for lado in TAMANOS_PROGRAMA:
        dibujar(os.path.join(icono, "vela.svg"), os.path.join(icono, f"vela-{lado}.png"), lado)


if __name__ == "__main__":
    main()
