// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// The page's JavaScript face of the core (binding.cpp's C functions), joined
// to emscripten's loader (--post-js): createVersomatCore() gives the module
// with controlTableJson(), readableText(), the short links' functions and
// Session. The heap may grow in any call that allocates, so its views are
// read afresh after each call, never kept.

const versomatUtf8 = new TextDecoder('utf-8', {ignoreBOM: true});
const versomatUtf16 = new TextDecoder('utf-16le', {ignoreBOM: true});
const versomatEncoder = new TextEncoder();

// Calls a core function with its arguments: numbers as they are, each
// Uint8Array (or string, as UTF-8) copied into the heap as pointer and
// length, freed again after the call.
function versomatCall(core, args) {
  const held = [];
  const flat = [];
  try {
    for (const arg of args) {
      if (typeof arg === 'number') {
        flat.push(arg);
        continue;
      }
      const bytes = typeof arg === 'string' ? versomatEncoder.encode(arg) : arg;
      const at = _malloc(bytes.length || 1);
      held.push(at);
      HEAPU8.set(bytes, at);
      flat.push(at, bytes.length);
    }
    return core(...flat);
  } finally {
    held.forEach(_free);
  }
}

// A core result's bytes (the core's null pointer is checked by the caller).
function versomatResult(result, unitSize) {
  const at = HEAPU32[result >> 2];
  return HEAPU8.subarray(at, at + HEAPU32[(result >> 2) + 1] * unitSize);
}
const versomatText = (result) => result ? versomatUtf8.decode(versomatResult(result, 1)) : null;
const versomatBytes = (result) => result ? versomatResult(result, 1).slice() : null;
const versomatAnswer = (result) => result ? JSON.parse(versomatUtf16.decode(versomatResult(result, 2))) : null;
// A link's kind is a name; anything else is no kind.
const versomatKind = (kind) => (typeof kind === 'string' ? kind : '\0');

// A session's core object; a deleted one has none, and calling it is the
// caller's mistake, not a reason to write over the core's memory.
function versomatSessionOf(session) {
  if (!session.at)
    throw new Error('the session was deleted');
  return session.at;
}

function versomatString(value, name) {
  if (typeof value !== 'string')
    throw new TypeError(`${name} takes a string`);
  return value;
}

Module['controlTableJson'] = () => versomatText(_versomat_control_table_json());
Module['readableText'] = (background, systemText) => versomatText(_versomat_readable_text(background, systemText));
Module['linkOfDeflated'] = (kind, deflated) => (deflated instanceof Uint8Array
  ? versomatText(versomatCall(_versomat_link_of_deflated, [versomatKind(kind), deflated])) : null);
Module['linkKindOf'] = (fragment) =>
  versomatText(versomatCall(_versomat_link_kind_of, [versomatString(fragment, 'linkKindOf')]));
Module['deflatedOfLink'] = (fragment) =>
  versomatBytes(versomatCall(_versomat_deflated_of_link, [versomatString(fragment, 'deflatedOfLink')]));
Module['maxLinkPayload'] = () => _versomat_max_link_payload();

// A session left to the garbage collector frees its core memory then;
// delete() frees it at once.
const versomatSessions = typeof FinalizationRegistry === 'function'
  ? new FinalizationRegistry(_versomat_session_delete) : null;

Module['Session'] = class Session {
  constructor() {
    this.at = _versomat_session_new();
    if (versomatSessions)
      versomatSessions.register(this, this.at, this);
  }

  delete() {
    if (versomatSessions)
      versomatSessions.unregister(this);
    _versomat_session_delete(versomatSessionOf(this));
    this.at = 0;
  }

  // The box's text as UTF-16 units, as the core holds text; a row that is no
  // button (also one that is no number) is answered with null.
  click(row, input) {
    if (!Number.isInteger(row) || row < 0 || row > 0x7fffffff)
      return null;
    const text = typeof input === 'string' ? input : '';
    const at = _malloc(2 * text.length || 1);
    try {
      const units = HEAPU16;
      for (let i = 0; i < text.length; ++i)
        units[(at >> 1) + i] = text.charCodeAt(i);
      return versomatAnswer(_versomat_click(versomatSessionOf(this), row, at, text.length));
    } finally {
      _free(at);
    }
  }

  linkPayload(kind) {
    return versomatBytes(versomatCall(_versomat_link_payload, [versomatSessionOf(this), versomatKind(kind)]));
  }

  openPayload(kind, payload) {
    return payload instanceof Uint8Array
      ? versomatAnswer(versomatCall(_versomat_open_payload, [versomatSessionOf(this), versomatKind(kind), payload])) : null;
  }

  openLink(fragment) {
    return versomatAnswer(versomatCall(_versomat_open_link, [versomatSessionOf(this), versomatString(fragment, 'openLink')]));
  }

  saved() {
    return versomatText(_versomat_saved(versomatSessionOf(this)));
  }

  restore(record) {
    return versomatAnswer(versomatCall(_versomat_restore, [versomatSessionOf(this), versomatString(record, 'restore')]));
  }
};
