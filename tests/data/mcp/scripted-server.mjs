// A small MCP server for the client's tests: it answers initialize and tools/list by the
// scenario given as its first argument, and does in tools/call what the tool's name says,
// so a test can provoke each malformed or unusual reply on purpose.
//   scenarios: normal, banner (a non-JSON line first), silent (never answers initialize),
//              paged (three pages of tools), endless (a new cursor every time),
//              loop (the same cursor again), empty (no tools)
import readline from "node:readline";

const scenario = process.argv[2] || "normal";
const out = (obj) => process.stdout.write(JSON.stringify(obj) + "\n");
const reply = (id, result) => out({ jsonrpc: "2.0", id, result });
const waiting = new Map(); // id of our own request to the client -> id of the call

if (scenario === "banner") process.stdout.write("Servidor de teste pronto\n");
if (process.env.NOISE) process.stderr.write(process.env.NOISE);

const tools = (page) => {
  if (scenario === "paged")
    return { tools: [{ name: `tool-${page}`, inputSchema: { type: "object" } }],
             ...(page < 3 ? { nextCursor: `page-${page + 1}` } : {}) };
  if (scenario === "endless")
    return { tools: [], nextCursor: `page-${page + 1}` };
  if (scenario === "empty")
    return { tools: [] };
  if (scenario === "loop")
    return { tools: [], nextCursor: "again" };
  return { tools: [
    { name: "b-tool", title: "B", description: "second", inputSchema: { type: "object", properties: { x: { type: "string" } } },
      annotations: { readOnlyHint: true } },
    { description: "no name at all" },
    { name: "a-tool", annotations: { title: "Annotated title", readOnlyHint: "yes" } },
    "not an object",
  ] };
};

// $ID is the id of the call being answered, $PREV the one before it.
const fill = (text, id) => text.replaceAll("$ID", String(id)).replaceAll("$PREV", String(id - 1));
let handshake = { initialize: null, initialized: false };

const call = (id, name, args) => {
  switch (name) {
    case "result": return reply(id, args.result);
    case "raw": // every line in one write
      return process.stdout.write(args.lines.map((l) => fill(l, id) + "\n").join(""));
    case "chunks": {
      const parts = args.chunks.map((c) => fill(c, id));
      const next = () => { if (parts.length) { process.stdout.write(parts.shift()); setTimeout(next, 30); } };
      return next();
    }
    case "stderr":
      process.stderr.write(args.text);
      return reply(id, { content: [] });
    case "ask":
      waiting.set(args.id, id);
      return out({ jsonrpc: "2.0", id: args.id, method: args.method });
    case "exit": return process.exit(args.code ?? 3);
    case "hang": return;
    case "handshake": return reply(id, { content: [{ type: "text", text: JSON.stringify(handshake) }] });
    case "endless-line": {
      const chunk = "x".repeat(1 << 20);
      let left = args.bytes;
      const write = () => {
        while (left > 0) {
          left -= chunk.length;
          if (!process.stdout.write(chunk)) return process.stdout.once("drain", write);
        }
      };
      return write();
    }
    default:
      return out({ jsonrpc: "2.0", id, error: { code: -32602, message: `Unknown tool: ${name}` } });
  }
};

let page = 0;
readline.createInterface({ input: process.stdin }).on("line", (line) => {
  const msg = JSON.parse(line);
  if (msg.method === undefined) { // an answer to one of our requests
    const callID = waiting.get(msg.id);
    if (callID !== undefined) reply(callID, { content: [{ type: "text", text: JSON.stringify(msg) }] });
    return;
  }
  if (msg.id === undefined) { // a notification
    if (msg.method === "notifications/initialized") handshake.initialized = true;
    return;
  }
  switch (msg.method) {
    case "initialize":
      handshake.initialize = msg;
      if (scenario === "silent") return;
      return reply(msg.id, { protocolVersion: msg.params.protocolVersion, capabilities: { tools: {} },
                             serverInfo: { name: "scripted", version: "1.0" } });
    case "tools/list": page += 1; return reply(msg.id, tools(page));
    case "tools/call": return call(msg.id, msg.params.name, msg.params.arguments ?? {});
    default: return out({ jsonrpc: "2.0", id: msg.id, error: { code: -32601, message: "no such method" } });
  }
});
