#!/usr/bin/env bash
# The built program in mode chiffrage: a stand-in browser prices the quote through
# the sandbox's page over HTTP, then Enter presses "Récupérer le devis" in the real
# window.
. "$(dirname "$0")/commun.sh"

demarrer_sandbox || exit 1

# What a desktop would run to open an address: our browser, first on PATH.
mkdir -p "$TRAVAIL/bin"
cat >"$TRAVAIL/bin/xdg-open" <<NAVIGATEUR
#!/usr/bin/env bash
printf '%s\n' "\$1" >>"$TRAVAIL/ouvertes"
page=\$(curl -s --max-time 5 "\$1") || exit 1
printf '%s' "\$page" | grep -q 'Valider le chiffrage' || exit 1
jeton=\$(printf '%s' "\$1" | sed -n 's/.*[?&]jeton=\([^&]*\).*/\1/p')
curl -s --max-time 5 -o "$TRAVAIL/confirmation.html" -w '%{http_code}' \
  --data "jeton=\$jeton&produit=fenetre-pvc&largeur=1200&hauteur=1350&quantite=3&repere=Cuisine&options=oscillo" \
  "$URL/chiffrage" >"$TRAVAIL/chiffre"
NAVIGATEUR
chmod +x "$TRAVAIL/bin/xdg-open"
export PATH="$TRAVAIL/bin:$PATH"
unset BROWSER DEFAULT_BROWSER

mkdir -p "$TRAVAIL/hôte"
resultat="$TRAVAIL/hôte/resultat.xml"
ecrire_config "$TRAVAIL/chiffrage.ini" "[General]" "Version=1" "Configurateur=olka" "Mode=chiffrage" \
  "[Utilisateur]" "Identifiant=demo@quelt.example" "MotDePasse=d&mo #pass=+"
"$PROGRAMME" "$resultat" "$TRAVAIL/chiffrage.ini" &
pid=$!
fenetre=$(attendre_fenetre "Calvenor - Configurateur olka - Chiffrage" 15)
verifier "chiffrage: the quote dialog opens" test -n "$fenetre"
for i in $(seq 100); do [ -s "$TRAVAIL/chiffre" ] && break; sleep 0.1; done
verifier "chiffrage: the browser was given the pricing page" grep -q "^$URL/chiffrage?jeton=" "$TRAVAIL/ouvertes"
verifier "chiffrage: the quote was priced in the browser" grep -qx 200 "$TRAVAIL/chiffre"
[ -n "$fenetre" ] && presser_entree "$fenetre"
attendre_fin "$pid" 20
verifier "chiffrage: exit 0" test "$CODE" = 0
verifier "chiffrage: retrieval answer plus eight elements, picture next to it" python3 - "$resultat" <<'PYTHON'
import os, sys, xml.etree.ElementTree as ET
chemin = sys.argv[1]
octets = open(chemin, "rb").read()
assert octets.startswith(b'<?xml version="1.0" encoding="ISO-8859-1"?>\r\n') and octets.endswith(b"\r\n"), octets[:80]
racine = ET.fromstring(octets)
noms = [e.tag for e in racine]
assert noms == ["Jeton", "Passerelle", "Project", "Libelle", "Detail", "Repere", "EcoTaxe", "Quantite",
                "PrixPublic", "PrixAchat", "Image"], noms
assert racine.findtext("Passerelle") == "olka"
assert racine.findtext("Quantite") == "3"
assert racine.findtext("Repere") == '"Cuisine"'
image = racine.findtext("Image")
assert image == os.path.join(os.path.dirname(chemin), racine.findtext("Project") + ".bmp"), image
assert open(image, "rb").read(2) == b"BM"
PYTHON

# Closing from the title bar is "Annuler": nothing written.
printf 'ancien' >"$resultat"
: >"$TRAVAIL/ouvertes"
"$PROGRAMME" "$resultat" "$TRAVAIL/chiffrage.ini" &
pid=$!
fenetre=$(attendre_fenetre "Calvenor - Configurateur olka - Chiffrage" 15)
for i in $(seq 50); do [ -s "$TRAVAIL/ouvertes" ] && break; sleep 0.1; done
[ -n "$fenetre" ] && python3 "$(dirname "$0")/fermer_fenetre.py" "$fenetre"
attendre_fin "$pid" 10
verifier "closed from the title bar: exit 0" test "$CODE" = 0
verifier "closed from the title bar: result file untouched" test "$(cat "$resultat")" = ancien

bilan
