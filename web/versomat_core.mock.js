// Temporary stand-in for the WebAssembly core while the real build is not
// on this branch; scripts/web copies it only when no core was built.
var createVersomatCore = (function () {
  const sans = (points, bold = false) => ({face: 'sans', points, bold, italic: false});
  const serif = (points, bold = false, italic = false) => ({face: 'serif', points, bold, italic});
  const std = {face: null, points: 0, bold: false, italic: false};
  const empty = 'noch leer\r\n';
  const help = 'Hilfe\nzweite Zeile';
  const rows = [];
  const add = (name, kind, role, list, [l, t, w, h], text, background, font, flags, accessibleName, hlp) =>
    rows.push(Object.assign({name, kind, role, list, left: l / 15, top: t / 15, width: w / 15, height: h / 15, text,
      background, font, multiLine: false, scrollBars: false, centred: false, hidden: false, onTop: false,
      framed: false, accessibleName, help: hlp}, flags));
  const lists = [['actors', 'Handelnde', 120, 2655, 'Text1', 2040, 735],
    ['objects', 'Benutztes', 2760, 2775, 'Text2', 4680, 855], ['verbs', 'Verben', 5520, 2775, 'Text3', 7440, 855],
    ['adjectives', 'Adjektive', 8280, 2775, 'Text4', 10200, 855]];
  for (const [list, head, left, width] of lists) {
    add(head, 'label', 'header', list, [left, 120, width, 375], head + ' eingeben', '#ffff00', sans(12, true),
      {centred: true, framed: true}, head + ' eingeben', '');
    add('B' + head, 'button', 'example', list, [left, 480, width, 375], 'Beispiel', '#00c000', serif(14.25), {},
      head + ': Beispiel', help);
    add('T' + head, 'textbox', 'box', list, [left, 840, width, 4335], empty, null, sans(12),
      {multiLine: true, scrollBars: true}, head + ': Liste', help);
    add('U' + head, 'button', 'accept', list, [left, 5160, 1935, 375], 'Übernehmen', '#ff00ff', sans(13.5), {},
      head + ': übernehmen', help);
  }
  add('Gedicht', 'button', 'generate', null, [120, 5640, 7455, 375], 'Gedicht erzeugen mit wiederholbarer Zählung',
    '#8080ff', serif(14.25, true, true), {}, 'Gedicht erzeugen mit wiederholbarer Zählung', help);
  add('Text5', 'textbox', 'output', null, [120, 6000, 10935, 4935], empty, null, sans(12),
    {multiLine: true, scrollBars: true}, 'Gedicht: Ausgabe', '');
  for (const [list, head, , , , left, width] of lists)
    add(head + 'a', 'textbox', 'mark', list, [left, 5160, width, 375], '*', '#ff0000', sans(13.5), {centred: true},
      head + ': Status', 'Noch nicht übernommen');
  add('Command2', 'button', 'random', null, [7560, 5640, 3495, 375], 'mit Zufallsstart', '#c0c0ff',
    serif(14.25, true, true), {}, 'Gedicht erzeugen mit Zufallsstart', help);
  add('Label1', 'label', 'credit', null, [120, 11040, 10935, 255], 'Versomat - Zufallsgedichte aus eigenen Wortlisten',
    '#00c0c0', std, {centred: true}, 'Versomat - Zufallsgedichte aus eigenen Wortlisten', '');
  add('statistikwerte', 'textbox', 'sheet', null, [8760, 6600, 2295, 4095], 'Text6', '#c0ffc0', sans(12),
    {multiLine: true, hidden: true, onTop: true}, 'Wahrscheinlichkeitswerte', help);
  add('WerteÜbernehmen', 'button', 'sheetAccept', null, [8760, 10680, 2295, 375], 'Werte Übernehmen', '#00ff00',
    sans(12), {hidden: true, onTop: true}, 'Wahrscheinlichkeitswerte übernehmen', help);
  add('W_Werte', 'button', 'sheetShow', null, [9840, 11040, 1335, 255], 'W-Werte', '#00c0c0', std, {onTop: true},
    'Wahrscheinlichkeitswerte anzeigen', help);
  const table = {client: {width: 746, height: 757}, windowBackground: '#00c0c0',
    texts: {acceptedMark: 'OK', acceptedMarkBackground: '#00ff00', refusedSheetBackground: '#ffc0c0'},
    controls: rows};
  class Session {
    constructor() { this.n = 1; this.ok = [0, 0, 0, 0]; }
    example(list) { return ['der Mann\r\ndie Frau\r\n', 'das Radio\r\n', 'liebt\r\n', ' alt\r\n'][list]; }
    accept(list, text) { this.ok[list] = 1; return 'Übernommen: ' + text.split('\r\n').length + ' Zeilen'; }
    poem() { return this.ok.every(Boolean) ? `Poem-Text ${this.n++}\r\n der Mann liebt das Radio` : 'Es fehlen noch Daten. Bei rotem >*< bitte ergänzen'; }
    randomStart() { return 'Zufalls-' + this.poem(); }
    showSheet() { return 'w1=0,3\r\nw2=0,5\r\n'; }
    acceptSheet(text) {
      const lines = text.split('\r\n');
      const bad = lines.findIndex((l) => l !== '' && !l.includes('='));
      return bad < 0 ? {accepted: true, hint: '', line: 0}
        : {accepted: false, hint: `Nicht übernommen: Zeile ${bad + 1} enthält kein „=“.\r\nJede Zeile braucht die Form „w1=0,7“.`, line: bad + 1};
    }
    delete() {}
  }
  return async () => ({controlTableJson: () => JSON.stringify(table), Session});
})();
