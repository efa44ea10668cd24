#include "voice/CallPage.h"

namespace service::voice {

// The page talks to the app through the web channel object "voice" (its slot post(json)) and
// to the service over HTTP: microphone audio goes out as 16 kHz mono s16le chunks to
// "<socket_url>/audio", the employee's words and speech come back as server-sent events from
// "<socket_url>/events", both with the call's token.
const std::string& callPageHtml()
{
    static const std::string html = R"html(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Voice call</title>
<style>body { margin: 0; font: 14px sans-serif; background: transparent; }</style>
<script src="qrc:///qtwebchannel/qwebchannel.js"></script>
</head>
<body>
<script>
"use strict";
const RATE = 16000;
let bridge = null, session = null, ctx = null, mic = null, events = null;
let outgoing = [], sending = Promise.resolve(), playing = 0, started = false, done = false;

function post(message) { if (bridge) bridge.post(JSON.stringify(message)); }
function fail(message) { if (!done) { post({ type: "error", message }); stop(); } }
function url(path) { return session.socket_url + path + "?token=" + encodeURIComponent(session.token); }

// Mixes the browser's rate down to 16 kHz by averaging, and sends about a quarter second at a time.
function capture(input) {
  if (done || playing > 0) return;
  const step = ctx.sampleRate / RATE;
  for (let pos = 0; pos + step <= input.length; pos += step) {
    let sum = 0, n = 0;
    for (let k = Math.floor(pos); k < Math.floor(pos + step); ++k, ++n) sum += input[k];
    outgoing.push(Math.max(-1, Math.min(1, n ? sum / n : 0)) * 32767);
  }
  if (outgoing.length >= RATE / 4) {
    const chunk = Int16Array.from(outgoing);
    outgoing = [];
    sending = sending.then(() => fetch(url("/audio"), { method: "POST", body: chunk.buffer,
        headers: { "Content-Type": "application/octet-stream" } }))
      .then(r => { if (!r.ok && r.status !== 409) throw new Error(String(r.status)); })
      .catch(() => fail("Voice connection error"));
  }
}

function play(base64) {
  const bytes = Uint8Array.from(atob(base64), c => c.charCodeAt(0));
  ++playing;
  ctx.decodeAudioData(bytes.buffer).then(buffer => {
    const source = ctx.createBufferSource();
    source.buffer = buffer;
    source.connect(ctx.destination);
    source.onended = () => { if (--playing === 0 && !done) post({ type: "mode", mode: "listening" }); };
    source.start();
  }).catch(() => { if (--playing === 0) post({ type: "mode", mode: "listening" }); });
}

function listen() {
  events = new EventSource(url("/events"));
  events.onopen = () => { if (!started) { started = true; post({ type: "active" }); } };
  events.onmessage = e => {
    const event = JSON.parse(e.data);
    if (event.type === "mode") post({ type: "mode", mode: event.mode });
    else if (event.type === "transcript") post({ type: "transcript", role: event.role, text: event.text });
    else if (event.type === "audio") play(event.wav_base64);
    else if (event.type === "error") fail("Voice connection error");
    else if (event.type === "ended" && !done) { post({ type: "disconnect" }); stop(); }
  };
  events.onerror = () => {
    if (events.readyState === EventSource.CLOSED) fail(started ? "Voice connection error" : "Could not connect the call");
  };
}

function stop() {
  done = true;
  if (events) events.close();
  if (mic) mic.getTracks().forEach(t => t.stop());
  if (ctx) ctx.close().catch(() => {});
}

window.__start = async raw => {
  try {
    session = typeof raw === "string" ? JSON.parse(raw) : raw;
    if (!session || !session.socket_url || !session.token) throw new Error("no session");
  } catch (e) { return fail("Could not connect the call"); }
  try {
    mic = await navigator.mediaDevices.getUserMedia({ audio: { channelCount: 1, echoCancellation: true } });
  } catch (e) {
    return fail(e && (e.name === "NotAllowedError" || e.name === "SecurityError")
      ? "Microphone access denied" : "Could not connect the call");
  }
  try {
    ctx = new AudioContext();
    const processor = ctx.createScriptProcessor(4096, 1, 1);
    const silent = ctx.createGain();
    silent.gain.value = 0;
    processor.onaudioprocess = e => capture(e.inputBuffer.getChannelData(0));
    ctx.createMediaStreamSource(mic).connect(processor);
    processor.connect(silent);
    silent.connect(ctx.destination);
    listen();
  } catch (e) { fail("Could not connect the call"); }
};

window.__end = () => {
  if (done) return;
  stop();
  post({ type: "ended" });
};

// The channel's script may also be injected by the app rather than loaded above; it then
// arrives a moment later.
(function connect() {
  if (typeof QWebChannel === "undefined" || typeof qt === "undefined") return setTimeout(connect, 50);
  new QWebChannel(qt.webChannelTransport, channel => {
    bridge = channel.objects.voice;
    post({ type: "ready" });
  });
})();
</script>
</body>
</html>
)html";
    return html;
}

} // namespace service::voice
